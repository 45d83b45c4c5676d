#include "settings/ini_file.h"

#include "deck/sjis_text.h"

#include "deck/file_access.h"

#include <cstring>
#include <limits>

namespace {

bool IsBlankByte(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

qsizetype SkipBlanks(QByteArrayView text, qsizetype pos, qsizetype end) {
    while (pos < end && IsBlankByte(text[pos]))
        ++pos;
    return pos;
}

qsizetype TrimEnd(QByteArrayView text, qsizetype start, qsizetype end) {
    while (end > start && IsBlankByte(text[end - 1]))
        --end;
    return end;
}

QByteArrayView Trimmed(QByteArrayView text) {
    const qsizetype start = SkipBlanks(text, 0, text.size());
    return text.sliced(start, TrimEnd(text, start, text.size()) - start);
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The form of a name that NamesEqual compares: ASCII letters folded, double-byte characters
// kept whole.
std::string Folded(QByteArrayView name) {
    std::string folded(size_t(name.size()), '\0');
    for (qsizetype i = 0; i < name.size();) {
        if (sjis::IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
            folded[size_t(i)] = name[i];
            folded[size_t(i + 1)] = name[i + 1];
            i += 2;
            continue;
        }
        folded[size_t(i)] = FoldAscii(name[i]);
        ++i;
    }
    return folded;
}

// The first `c` at or after `from` that starts a character (characters counted from the start).
qsizetype CharIndexOf(QByteArrayView text, char c, qsizetype from) {
    for (qsizetype pos = 0; pos < text.size(); pos += sjis::CharLength(text, pos)) {
        if (pos >= from && text[pos] == c)
            return pos;
    }
    return -1;
}

// A line without its line end ("\n" or "\r\n").
QByteArrayView Content(QByteArrayView line) {
    if (line.endsWith('\n'))
        line.chop(line.size() > 1 && line[line.size() - 2] == '\r' ? 2 : 1);
    return line;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<QByteArrayView> HeaderName(QByteArrayView content) {
    const qsizetype open = SkipBlanks(content, 0, content.size());
    if (open >= content.size() || content[open] != '[')
        return std::nullopt;
    const qsizetype close = CharIndexOf(content, ']', open + 1);
    if (close < 0)
        return std::nullopt;
    return Trimmed(content.sliced(open + 1, close - open - 1));
}

struct KeyParts {
    QByteArrayView name;
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

// A "key=value" line; comments (";") and lines without "=" are no keys.
std::optional<KeyParts> ParseKeyLine(QByteArrayView content) {
    const qsizetype first = SkipBlanks(content, 0, content.size());
    if (first >= content.size() || content[first] == ';' || HeaderName(content))
        return std::nullopt;
    const qsizetype equals = CharIndexOf(content, '=', first);
    if (equals < 0)
        return std::nullopt;
    KeyParts parts;
    parts.name = Trimmed(content.first(equals));
    parts.valueStart = SkipBlanks(content, equals + 1, content.size());
    parts.valueEnd = TrimEnd(content, parts.valueStart, content.size());
    return parts;
}

// The line end new lines get: the one of the file's first line, else the profile format's own.
QByteArray LineEndOf(const QByteArray &text) {
    const qsizetype newline = text.indexOf('\n');
    if (newline > 0 && text[newline - 1] != '\r')
        return "\n";
    return "\r\n";
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

IniFile::IniFile(QByteArray bytes) : text_(std::move(bytes)) {
    Index();
}

IniFile IniFile::Load(const QString &path) {
    const file_access::ReadResult read = file_access::ReadRegularFile(path, MaxFileBytes);
    if (read.status == file_access::ReadStatus::Missing)
        return IniFile();
    if (read.status != file_access::ReadStatus::Ok) {
        IniFile ini;
        ini.readable_ = false;
        return ini;
    }
    return IniFile(read.bytes);
}

void IniFile::Index() {
    lines_.clear();
    written_.clear();
    sections_.clear();
    first_ = last_ = -1;
    lineEnd_ = LineEndOf(text_);
    lines_.reserve(size_t(text_.count('\n')) + 1);
    Section *current = nullptr;
    for (qsizetype pos = 0; pos < text_.size();) {
        const qsizetype newline = text_.indexOf('\n', pos);
        const qsizetype end = newline < 0 ? text_.size() : newline + 1;
        const int index = AddLine({}, last_);
        lines_[size_t(index)].start = pos;
        lines_[size_t(index)].size = end - pos;
        pos = end;
        const QByteArrayView content = Content(LineBytes(lines_[size_t(index)]));
        if (const std::optional<QByteArrayView> header = HeaderName(content)) {
            // Only the first section of a name counts; a repeated one is skipped whole.
            const auto [it, added] = sections_.try_emplace(Folded(*header));
            current = added ? &it->second : nullptr;
            if (current)
                current->header = current->lastFilled = index;
        } else if (current && !Trimmed(content).isEmpty()) {
            current->lastFilled = index;
        }
    }
    bytes_ = text_;
    bytesStale_ = false;
}

void IniFile::IndexKeys(const Section &section) const {
    if (section.keysIndexed)
        return;
    section.keysIndexed = true;
    for (int i = lines_[size_t(section.header)].next; i >= 0; i = lines_[size_t(i)].next) {
        const QByteArrayView content = Content(LineBytes(lines_[size_t(i)]));
        if (HeaderName(content))
            break;
        if (const std::optional<KeyParts> key = ParseKeyLine(content))
            section.keys.try_emplace(Folded(key->name), KeyLine{i, key->valueStart, key->valueEnd});
    }
}

const IniFile::Section *IniFile::FindSection(const QByteArray &name) const {
    const auto found = sections_.find(Folded(name));
    if (found == sections_.end())
        return nullptr;
    IndexKeys(found->second);
    return &found->second;
}

QByteArrayView IniFile::LineBytes(const Line &line) const {
    const QByteArray &source = line.written >= 0 ? written_[size_t(line.written)] : text_;
    return QByteArrayView(source).sliced(line.start, line.size);
}

// Links a new line after `after` (-1: at the end of an empty list); returns its index.
int IniFile::AddLine(QByteArray bytes, int after) {
    const int index = int(lines_.size());
    Line line;
    if (!bytes.isNull()) {
        line.size = bytes.size();
        line.written = int(written_.size());
        written_.push_back(std::move(bytes));
    }
    if (after < 0) {
        line.next = first_;
        first_ = index;
    } else {
        line.next = lines_[size_t(after)].next;
        lines_[size_t(after)].next = index;
    }
    if (line.next < 0)
        last_ = index;
    lines_.push_back(line);
    bytesStale_ = true;
    return index;
}

void IniFile::SetLineBytes(int index, QByteArray bytes) {
    Line &line = lines_[size_t(index)];
    line.start = 0;
    line.size = bytes.size();
    if (line.written < 0) {
        line.written = int(written_.size());
        written_.push_back(std::move(bytes));
    } else {
        written_[size_t(line.written)] = std::move(bytes);
    }
    bytesStale_ = true;
}

void IniFile::EndLine(int index) {
    const QByteArrayView bytes = LineBytes(lines_[size_t(index)]);
    if (!bytes.endsWith('\n'))
        SetLineBytes(index, bytes.toByteArray() + lineEnd_);
}

qsizetype IniFile::EndOffset(int index) const {
    qsizetype offset = 0;
    for (int i = first_; i >= 0; i = lines_[size_t(i)].next) {
        offset += lines_[size_t(i)].size;
        if (i == index)
            break;
    }
    return offset;
}

void IniFile::RewriteText(qsizetype from, qsizetype to, const QByteArray &replacement) {
    QByteArray text = Bytes();
    text.replace(from, to - from, replacement);
    text_ = std::move(text);
    Index();
}

const QByteArray &IniFile::Bytes() const {
    if (bytesStale_) {
        qsizetype size = 0;
        for (int i = first_; i >= 0; i = lines_[size_t(i)].next)
            size += lines_[size_t(i)].size;
        QByteArray bytes;
        bytes.reserve(size);
        for (int i = first_; i >= 0; i = lines_[size_t(i)].next)
            bytes.append(LineBytes(lines_[size_t(i)]));
        bytes_ = std::move(bytes);
        bytesStale_ = false;
    }
    return bytes_;
}

bool IniFile::NamesEqual(const QByteArray &a, const QByteArray &b) {
    return a.size() == b.size() && Folded(a) == Folded(b);
}

std::optional<int> IniFile::ParseInteger(const QByteArray &text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.mid(2));
    return ParseDecimal(text);
}

std::optional<QByteArray> IniFile::ReadValue(const QByteArray &section,
                                             const QByteArray &key) const {
    const Section *found = FindSection(section);
    if (!found)
        return std::nullopt;
    const auto keyLine = found->keys.find(Folded(key));
    if (keyLine == found->keys.end())
        return std::nullopt;
    const KeyLine &at = keyLine->second;
    const QByteArrayView value =
        LineBytes(lines_[size_t(at.line)]).sliced(at.valueStart, at.valueEnd - at.valueStart);
    return sjis::LeftBytes(value.toByteArray(), MaxValueBytes);
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

namespace {

bool HasLineBreak(const QByteArray &text) {
    return text.contains('\n') || text.contains('\r');
}

// Where the value of `line` lies when the line reads back as a key line of the name `key`, so
// indexing it needs no rescan; start -1 otherwise.
struct ValueSpan {
    qsizetype start = -1;
    qsizetype end = -1;
};

ValueSpan KeyLineNamed(QByteArrayView line, const QByteArray &key) {
    if (HasLineBreak(key))
        return {};
    const std::optional<KeyParts> parts = ParseKeyLine(Content(line));
    if (!parts || Folded(parts->name) != Folded(key))
        return {};
    return {parts->valueStart, parts->valueEnd};
}

bool HeaderNamed(QByteArrayView line, const QByteArray &section) {
    if (HasLineBreak(section))
        return false;
    const std::optional<QByteArrayView> name = HeaderName(Content(line));
    return name && Folded(*name) == Folded(section);
}

} // namespace

void IniFile::AddKeyLine(Section &section, const QByteArray &key, const QByteArray &keyLine,
                         qsizetype valueStart, qsizetype valueEnd) {
    EndLine(section.lastFilled);
    section.lastFilled = AddLine(keyLine, section.lastFilled);
    section.keys.emplace(Folded(key), KeyLine{section.lastFilled, valueStart, valueEnd});
}

bool IniFile::WriteString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &value) {
    if (HasLineBreak(value))
        return false;
    const QByteArray keyLine = key + '=' + value + lineEnd_;
    const ValueSpan parsed = KeyLineNamed(keyLine, key);
    const auto found = sections_.find(Folded(section));
    if (found == sections_.end()) {
        const QByteArray header = '[' + section + ']' + lineEnd_;
        if (parsed.start < 0 || !HeaderNamed(header, section)) {
            const QByteArray &text = Bytes();
            const bool ended = text.isEmpty() || text.endsWith('\n');
            RewriteText(text.size(), text.size(), (ended ? "" : lineEnd_) + header + keyLine);
            return true;
        }
        if (last_ >= 0)
            EndLine(last_);
        Section &added = sections_[Folded(section)];
        added.keysIndexed = true;
        added.header = added.lastFilled = AddLine(header, last_);
        AddKeyLine(added, key, keyLine, parsed.start, parsed.end);
        return true;
    }
    Section &span = found->second;
    IndexKeys(span);
    const auto keyFound = span.keys.find(Folded(key));
    if (keyFound == span.keys.end()) {
        if (parsed.start < 0) {
            const qsizetype at = EndOffset(span.lastFilled);
            const bool ended = LineBytes(lines_[size_t(span.lastFilled)]).endsWith('\n');
            RewriteText(at, at, (ended ? "" : lineEnd_) + keyLine);
            return true;
        }
        AddKeyLine(span, key, keyLine, parsed.start, parsed.end);
        return true;
    }
    KeyLine &at = keyFound->second;
    const Line &line = lines_[size_t(at.line)];
    const QByteArrayView old = LineBytes(line);
    if (old.sliced(at.valueStart, at.valueEnd - at.valueStart) == value)
        return true;
    const QByteArray edited =
        old.first(at.valueStart).toByteArray() + value + old.sliced(at.valueEnd).toByteArray();
    const ValueSpan reparsed = KeyLineNamed(edited, key);
    if (reparsed.start < 0) {
        const qsizetype lineStart = EndOffset(at.line) - line.size;
        RewriteText(lineStart + at.valueStart, lineStart + at.valueEnd, value);
        return true;
    }
    at.valueStart = reparsed.start;
    at.valueEnd = reparsed.end;
    SetLineBytes(at.line, edited);
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
    const file_access::WriteResult written = file_access::WriteWholeFile(path, Bytes());
    if (!written.ok)
        return fail(written.systemError ? QString::fromLocal8Bit(strerror(written.systemError))
                                        : QStringLiteral("the file could not be written"));
    return true;
}
