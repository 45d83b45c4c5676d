#include "view/long_text.h"

ShownText CutLongLines(QString text) {
    ShownText shown;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (end - start > kMaxShownLine) {
            // Not between the halves of a surrogate pair.
            qsizetype keep = start + kMaxShownLine;
            if (text.at(keep - 1).isHighSurrogate())
                --keep;
            text.replace(keep, end - keep, QStringLiteral("…"));
            end = keep + 1;
            shown.cut = true;
        }
        start = end + 1;
    }
    shown.text = std::move(text);
    return shown;
}

QString CutTextNote(qsizetype fullLength) {
    return QStringLiteral("とても長い行があるため、各行の先頭 %1 文字だけを表示しています"
                          "（全体は %2 文字）。\n"
                          "この欄では編集できません。カードの内容はそのまま保存されます。")
        .arg(kMaxShownLine)
        .arg(fullLength);
}
