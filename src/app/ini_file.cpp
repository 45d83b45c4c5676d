#include "app/ini_file.h"

#include "deck/sjis_text.h"

#include <QFile>
#include <QSaveFile>
#include <limits>

namespace {

bool IsBlankByte(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

qsizetype SkipBlanks(const QByteArray &text, qsizetype pos, qsizetype end) {
    while (pos < end && IsBlankByte(text[pos]))
        ++pos;
    return pos;
}

qsizetype TrimEnd(const QByteArray &text, qsizetype start, qsizetype end) {
    while (end > start && IsBlankByte(text[end - 1]))
        --end;
    return end;
}

QByteArray Trimmed(const QByteArray &text) {
    const qsizetype start = SkipBlanks(text, 0, text.size());
    return text.mid(start, TrimEnd(text, start, text.size()) - start);
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<QByteArray> HeaderName(const QByteArray &content) {
    const qsizetype open = SkipBlanks(content, 0, content.size());
    if (open >= content.size() || content[open] != '[')
        return std::nullopt;
    const qsizetype close = sjis::IndexOf(content, "]", open + 1);
    if (close < 0)
        return std::nullopt;
    return Trimmed(content.mid(open + 1, close - open - 1));
}

struct KeyParts {
    QByteArray name;
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

// A "key=value" line; comments (";") and lines without "=" are no keys.
std::optional<KeyParts> ParseKeyLine(const QByteArray &content) {
    const qsizetype first = SkipBlanks(content, 0, content.size());
    if (first >= content.size() || content[first] == ';' || HeaderName(content))
        return std::nullopt;
    const qsizetype equals = sjis::IndexOf(content, "=", first);
    if (equals < 0)
        return std::nullopt;
    KeyParts parts;
    parts.name = Trimmed(content.left(equals));
    parts.valueStart = SkipBlanks(content, equals + 1, content.size());
    parts.valueEnd = TrimEnd(content, parts.valueStart, content.size());
    return parts;
}

std::optional<int> ParseHex(const QByteArray &digits) {
    quint64 value = 0;
    for (const char c : digits) {
        const int digit = QByteArray("0123456789abcdef").indexOf(FoldAscii(c));
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<quint64>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    // Eight hex digits cover the whole 32-bit pattern, so 0xFFFFFFFF reads as -1.
    return static_cast<int>(static_cast<quint32>(value));
}

std::optional<int> ParseDecimal(const QByteArray &text) {
    qsizetype pos = 0;
    const bool negative = !text.isEmpty() && text[0] == '-';
    if (!text.isEmpty() && (text[0] == '-' || text[0] == '+'))
        ++pos;
    if (pos >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9')
            return std::nullopt;
        value = value * 10 + (text[pos] - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

IniFile::IniFile(QByteArray bytes) : bytes_(std::move(bytes)) {}

IniFile IniFile::Load(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return IniFile();
    IniFile ini;
    if (!file.open(QIODevice::ReadOnly)) {
        ini.readable_ = false;
        return ini;
    }
    ini.bytes_ = file.readAll();
    ini.readable_ = file.error() == QFileDevice::NoError;
    return ini;
}

bool IniFile::NamesEqual(const QByteArray &a, const QByteArray &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size();) {
        if (sjis::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            i += 2;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
        ++i;
    }
    return true;
}

std::optional<int> IniFile::ParseInteger(const QByteArray &text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.mid(2));
    return ParseDecimal(text);
}

IniFile::Line IniFile::LineAt(qsizetype pos) const {
    Line line;
    line.start = pos;
    const qsizetype newline = bytes_.indexOf('\n', pos);
    if (newline < 0) {
        line.contentEnd = line.end = bytes_.size();
        return line;
    }
    line.end = newline + 1;
    line.contentEnd = newline > pos && bytes_[newline - 1] == '\r' ? newline - 1 : newline;
    return line;
}

QByteArray IniFile::Content(const Line &line) const {
    return bytes_.mid(line.start, line.contentEnd - line.start);
}

std::optional<IniFile::SectionSpan> IniFile::FindSection(const QByteArray &section) const {
    std::optional<SectionSpan> span;
    for (qsizetype pos = 0; pos < bytes_.size();) {
        const Line line = LineAt(pos);
        const QByteArray content = Content(line);
        const std::optional<QByteArray> header = HeaderName(content);
        if (span && header) {
            span->bodyEnd = line.start;
            return span;
        }
        if (!span && header && NamesEqual(*header, section))
            span = SectionSpan{line.end, line.end, bytes_.size()};
        else if (span && !Trimmed(content).isEmpty())
            span->lastFilledEnd = line.end;
        pos = line.end;
    }
    return span;
}

std::optional<IniFile::KeyLine> IniFile::FindKey(const SectionSpan &span,
                                                 const QByteArray &key) const {
    for (qsizetype pos = span.headerEnd; pos < span.bodyEnd;) {
        const Line line = LineAt(pos);
        const std::optional<KeyParts> parts = ParseKeyLine(Content(line));
        if (parts && NamesEqual(parts->name, key))
            return KeyLine{line.start + parts->valueStart, line.start + parts->valueEnd};
        pos = line.end;
    }
    return std::nullopt;
}

std::optional<QByteArray> IniFile::ReadValue(const QByteArray &section,
                                             const QByteArray &key) const {
    const std::optional<SectionSpan> span = FindSection(section);
    if (!span)
        return std::nullopt;
    const std::optional<KeyLine> found = FindKey(*span, key);
    if (!found)
        return std::nullopt;
    return sjis::LeftBytes(bytes_.mid(found->valueStart, found->valueEnd - found->valueStart),
                           MaxValueBytes);
}

QByteArray IniFile::ReadString(const QByteArray &section, const QByteArray &key,
                               const QByteArray &defaultValue) const {
    return ReadValue(section, key).value_or(defaultValue);
}

int IniFile::ReadInteger(const QByteArray &section, const QByteArray &key, int defaultValue) const {
    const std::optional<QByteArray> value = ReadValue(section, key);
    if (!value)
        return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

bool IniFile::ReadBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QByteArray IniFile::LineEnd() const {
    const qsizetype newline = bytes_.indexOf('\n');
    if (newline > 0 && bytes_[newline - 1] != '\r')
        return "\n";
    return "\r\n"; // the profile format's own line end, also for a new file
}

QByteArray IniFile::WithLineEndAt(qsizetype pos) const {
    return pos > 0 && bytes_[pos - 1] != '\n' ? LineEnd() : QByteArray();
}

bool IniFile::WriteString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &value) {
    if (value.contains('\n') || value.contains('\r'))
        return false;
    const QByteArray keyLine = key + '=' + value + LineEnd();
    const std::optional<SectionSpan> span = FindSection(section);
    if (!span) {
        bytes_ += WithLineEndAt(bytes_.size()) + '[' + section + ']' + LineEnd() + keyLine;
        return true;
    }
    const std::optional<KeyLine> found = FindKey(*span, key);
    if (!found) {
        bytes_.insert(span->lastFilledEnd, WithLineEndAt(span->lastFilledEnd) + keyLine);
        return true;
    }
    const qsizetype length = found->valueEnd - found->valueStart;
    if (bytes_.mid(found->valueStart, length) != value)
        bytes_.replace(found->valueStart, length, value);
    return true;
}

void IniFile::WriteInteger(const QByteArray &section, const QByteArray &key, int value) {
    WriteString(section, key, QByteArray::number(value));
}

void IniFile::WriteBool(const QByteArray &section, const QByteArray &key, bool value) {
    WriteInteger(section, key, value ? 1 : 0);
}

bool IniFile::Save(const QString &path, QString *error) const {
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!readable_)
        return fail(QStringLiteral("the existing file could not be read"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes_) != bytes_.size())
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
