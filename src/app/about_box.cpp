#include "app/about_box.h"

#include <QtGlobal>

#ifndef KARDEON_VERSION
#error "KARDEON_VERSION comes from the project's version in CMake"
#endif

MessageRequest AboutRequest() {
    const QStringList lines{
        QStringLiteral("Kardeon バージョン %1").arg(ProgramVersion()),
        QStringLiteral("Shift-JIS の問題ファイルで覚える暗記カード学習ソフトです。"),
        QStringLiteral("Qt %1 を使用しています。").arg(QString::fromLatin1(qVersion())),
        QStringLiteral("ライセンス: MIT License"),
    };
    return {QStringLiteral("確認"),
            PromptIcon::Question,
            lines.join(u'\n'),
            {PromptButton::Yes},
            {},
            {}};
}

QString ProgramVersion() {
    return QStringLiteral(KARDEON_VERSION);
}
