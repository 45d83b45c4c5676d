#include "ui/font_setup.h"

#include <QFont>
#include <QStringList>

QString DefaultFaceName() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void RegisterJapaneseFontSubstitutes() {
    QFont::insertSubstitutions(DefaultFaceName(), QStringList{QStringLiteral("IPAPGothic"),
                                                              QStringLiteral("Noto Sans CJK JP")});
}

QFont DefaultFont(int points) {
    QFont font(DefaultFaceName(), points);
    return font;
}
