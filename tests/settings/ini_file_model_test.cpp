// The indexed editor checked against a plain model that rescans the whole text for every read
// and write, on random files and random writes full of awkward names.
#include "deck/sjis_text.h"
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace {

class ScanningIni {
public:
    explicit ScanningIni(QByteArray bytes) : bytes_(std::move(bytes)) {}
    const QByteArray &Bytes() const { return bytes_; }

    std::optional<QByteArray> Read(const QByteArray &section, const QByteArray &key) const {
        const std::optional<Span> span = FindSection(section);
        const std::optional<std::pair<qsizetype, qsizetype>> value =
            span ? FindKey(*span, key) : std::nullopt;
        if (!value)
            return std::nullopt;
        return sjis::LeftBytes(bytes_.mid(value->first, value->second - value->first),
                               IniFile::MaxValueBytes);
    }

    void Write(const QByteArray &section, const QByteArray &key, const QByteArray &value) {
        const QByteArray keyLine = key + '=' + value + LineEnd();
        const std::optional<Span> span = FindSection(section);
        if (!span) {
            bytes_ += EndAt(bytes_.size()) + '[' + section + ']' + LineEnd() + keyLine;
            return;
        }
        const auto found = FindKey(*span, key);
        if (!found)
            bytes_.insert(span->lastFilledEnd, EndAt(span->lastFilledEnd) + keyLine);
        else if (bytes_.mid(found->first, found->second - found->first) != value)
            bytes_.replace(found->first, found->second - found->first, value);
    }

private:
    struct Span {
        qsizetype headerEnd, lastFilledEnd, bodyEnd;
    };
    static bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
    static QByteArray Trim(const QByteArray &text) {
        qsizetype a = 0, b = text.size();
        while (a < b && Blank(text[a]))
            ++a;
        while (b > a && Blank(text[b - 1]))
            --b;
        return text.mid(a, b - a);
    }
    static std::optional<QByteArray> Header(const QByteArray &line) {
        const QByteArray t = Trim(line);
        const qsizetype open = line.indexOf(t.isEmpty() ? '\0' : t[0]);
        if (t.isEmpty() || t[0] != '[')
            return std::nullopt;
        const qsizetype close = sjis::IndexOf(line, "]", open + 1);
        return close < 0 ? std::nullopt : std::optional(Trim(line.mid(open + 1, close - open - 1)));
    }
    // (start, contentEnd, end) of the line at `pos`.
    std::tuple<qsizetype, qsizetype, qsizetype> LineAt(qsizetype pos) const {
        const qsizetype nl = bytes_.indexOf('\n', pos);
        if (nl < 0)
            return {pos, bytes_.size(), bytes_.size()};
        return {pos, nl > pos && bytes_[nl - 1] == '\r' ? nl - 1 : nl, nl + 1};
    }
    std::optional<Span> FindSection(const QByteArray &name) const {
        std::optional<Span> span;
        for (qsizetype pos = 0; pos < bytes_.size();) {
            const auto [start, contentEnd, end] = LineAt(pos);
            const QByteArray content = bytes_.mid(start, contentEnd - start);
            const std::optional<QByteArray> header = Header(content);
            if (span && header) {
                span->bodyEnd = start;
                return span;
            }
            if (!span && header && IniFile::NamesEqual(*header, name))
                span = Span{end, end, bytes_.size()};
            else if (span && !Trim(content).isEmpty())
                span->lastFilledEnd = end;
            pos = end;
        }
        return span;
    }
    std::optional<std::pair<qsizetype, qsizetype>> FindKey(const Span &span,
                                                           const QByteArray &key) const {
        for (qsizetype pos = span.headerEnd; pos < span.bodyEnd;) {
            const auto [start, contentEnd, end] = LineAt(pos);
            pos = end;
            const QByteArray content = bytes_.mid(start, contentEnd - start);
            const QByteArray t = Trim(content);
            if (t.isEmpty() || t[0] == ';' || Header(content))
                continue;
            const qsizetype first = content.indexOf(t[0]);
            const qsizetype equals = sjis::IndexOf(content, "=", first);
            if (equals < 0 || !IniFile::NamesEqual(Trim(content.left(equals)), key))
                continue;
            qsizetype a = equals + 1, b = content.size();
            while (a < b && Blank(content[a]))
                ++a;
            while (b > a && Blank(content[b - 1]))
                --b;
            return std::pair(start + a, start + b);
        }
        return std::nullopt;
    }
    QByteArray LineEnd() const {
        const qsizetype nl = bytes_.indexOf('\n');
        return nl > 0 && bytes_[nl - 1] != '\r' ? "\n" : "\r\n";
    }
    QByteArray EndAt(qsizetype pos) const {
        return pos > 0 && bytes_[pos - 1] != '\n' ? LineEnd() : QByteArray();
    }
    QByteArray bytes_;
};

template <size_t N> QByteArray Pick(std::mt19937 &random, const char *const (&choices)[N]) {
    return QByteArray(choices[std::uniform_int_distribution<size_t>(0, N - 1)(random)]);
}

const char *const Lines[] = {
    "[A]",        "[a]",        " [ B ] tail", "[S", "k=1", " K = 2 ", "k=\x83",
    ";k=3",       "",           "  ",          "\t", "x",   "=v",      "[\x83\x5D]",
    "\x83\x41=4", "[\x83\x41]", "k\x81=5",     "\r", "[]",  "= ",      "k==6"};
const char *const Breaks[] = {"\n", "\r\n", "\r\n", "\n"};
const char *const Sections[] = {"A",  "a",  "B",  "S",        "\x83\x41", "\x83\x61", "",
                                " A", "[x", "x]", "\x83\x5D", "N",        "n\nX"};
const char *const Keys[] = {"k",   "K",     " k",       "x",   "",    "=",    "a=b", ";c",
                            "[h]", "k\x81", "\x83\x41", "new", "New", "k\nZ", "[A]", "t\r"};
const char *const Values[] = {"", "v", "1", " sp ", "x]", "y=z", "\x83", "long value here", "v;"};

} // namespace

TEST(IniFileModel, WritesAndReadsAgreeWithAFullRescanByteForByte) {
    std::mt19937 random(2024);
    for (int file = 0; file < 150; ++file) {
        QByteArray text;
        const int lines = std::uniform_int_distribution(0, 8)(random);
        for (int i = 0; i < lines; ++i)
            text += Pick(random, Lines) +
                    (i + 1 < lines || random() % 2 ? Pick(random, Breaks) : QByteArray());
        IniFile ini(text);
        ScanningIni model(text);
        for (int step = 0; step < 12; ++step) {
            const QByteArray section = Pick(random, Sections);
            const QByteArray key = Pick(random, Keys);
            const QByteArray value = Pick(random, Values);
            ASSERT_TRUE(ini.WriteString(section, key, value));
            model.Write(section, key, value);
            ASSERT_EQ(ini.Bytes(), model.Bytes()) << "file " << file << " step " << step;
            ASSERT_EQ(ini.ReadValue(section, key), model.Read(section, key));
        }
        for (const char *s : Sections)
            for (const char *k : Keys)
                ASSERT_EQ(ini.ReadValue(s, k), model.Read(s, k))
                    << "file " << file << " [" << s << "] " << k;
    }
}
