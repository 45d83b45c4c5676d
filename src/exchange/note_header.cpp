#include "exchange/note_header.h"

#include "deck/card.h"

namespace exchange {

namespace {

bool ParseFlag(QByteArrayView value, bool *flag) {
    const QByteArray lower = value.trimmed().toByteArray().toLower();
    if (lower == "true" || lower == "yes" || lower == "1")
        *flag = true;
    else if (lower == "false" || lower == "no" || lower == "0")
        *flag = false;
    else
        return false;
    return true;
}

// One header line, "#name:value"; false when it is not one this reader knows.
bool TakeLine(NoteHeader &header, QByteArrayView line) {
    if (!line.startsWith('#'))
        return false;
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return false;
    const QByteArray name = line.sliced(1, colon - 1).trimmed().toByteArray().toLower();
    const QByteArrayView value = line.sliced(colon + 1);
    qint32 column = 0;
    const bool numeric = ParseInt32(value.trimmed(), &column) && column >= 1 && column <= 1000;
    if (name == "separator") {
        header.separator = SeparatorFromName(value);
        return header.separator.has_value();
    }
    if (name == "html") {
        bool flag = false;
        if (!ParseFlag(value, &flag))
            return false;
        header.html = flag;
        return true;
    }
    if (name == "columns") {
        header.columns = value.toByteArray();
        return true;
    }
    struct Named {
        const char *name;
        int NoteHeader::*column;
    };
    static constexpr Named kColumns[] = {{"notetype column", &NoteHeader::notetypeColumn},
                                         {"deck column", &NoteHeader::deckColumn},
                                         {"tags column", &NoteHeader::tagsColumn},
                                         {"guid column", &NoteHeader::guidColumn}};
    for (const Named &named : kColumns) {
        if (name == named.name) {
            if (!numeric)
                return false;
            header.*named.column = column;
            return true;
        }
    }
    return name == "notetype" || name == "deck" || name == "tags" || name == "if matches";
}

} // namespace

std::optional<char> SeparatorFromName(QByteArrayView name) {
    if (name.size() == 1 && QByteArrayView(",;\t |:").contains(name[0]))
        return name[0];
    const QByteArray lower = name.trimmed().toByteArray().toLower();
    static constexpr struct {
        const char *name;
        char separator;
    } kNames[] = {{"comma", ','}, {"semicolon", ';'}, {"tab", '\t'},
                  {"space", ' '}, {"pipe", '|'},      {"colon", ':'}};
    for (const auto &named : kNames)
        if (lower == named.name)
            return named.separator;
    if (lower.size() == 1 && QByteArrayView(",;|:").contains(lower[0]))
        return lower[0];
    return std::nullopt;
}

bool NoteHeader::IsMetaColumn(int column) const {
    const int oneBased = column + 1;
    return oneBased == notetypeColumn || oneBased == deckColumn || oneBased == tagsColumn ||
           oneBased == guidColumn;
}

QList<QByteArray> NoteHeader::ColumnNames(char separatorUsed) const {
    if (columns.isEmpty())
        return {};
    QByteArray value = columns;
    if (value.endsWith('\r'))
        value.chop(1);
    return value.split(separatorUsed);
}

NoteHeader ReadNoteHeader(QByteArrayView text) {
    NoteHeader header;
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == '#') {
        qsizetype end = text.indexOf('\n', pos);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        QByteArrayView line = text.sliced(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!TakeLine(header, line))
            break;
        pos = next;
        ++header.lineCount;
    }
    header.bodyOffset = pos;
    return header;
}

} // namespace exchange
