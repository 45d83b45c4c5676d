#include "view/no_deck_hint.h"

NoDeckHint::NoDeckHint(QWidget *parent) : QLabel(Text(), parent) {
    setObjectName(QStringLiteral("NoDeckHint"));
    setAlignment(Qt::AlignCenter);
    setMargin(10);
    // A framed note of its own, so its text never runs over the empty cells' borders.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QString NoDeckHint::Text() {
    return QStringLiteral("ﾌｧｲﾙ → 開く (Ctrl+O) で\n問題ファイルを開いてください");
}
