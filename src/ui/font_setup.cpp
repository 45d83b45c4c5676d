#include "ui/font_setup.h"

#include <QFont>
#include <QStringList>

QString DefaultFaceName() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void RegisterJapaneseFontSubstitutes() {
    // The faces of the fonts the Debian package may bring, in the order it names them.
    QFont::insertSubstitutions(DefaultFaceName(), QStringList{QStringLiteral("IPAPGothic"),
                                                              QStringLiteral("Noto Sans CJK JP"),
                                                              QStringLiteral("VL PGothic")});
}

QFont DefaultFont(int points) {
    QFont font(DefaultFaceName(), points);
    return font;
}
