#include "view/no_deck_hint.h"

NoDeckHint::NoDeckHint(QWidget *parent) : QLabel(Text(), parent) {
    setObjectName(QStringLiteral("NoDeckHint"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setMargin(12);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QString NoDeckHint::Text() {
    return QStringLiteral("ﾌｧｲﾙ → 開く (Ctrl+O) で問題ファイルを開いてください");
}
