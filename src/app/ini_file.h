#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A small editor for INI files that keeps every byte it does not own.
//
// Section and key names match without regard to ASCII letter case; the second byte of a
// Shift-JIS double-byte character is never folded. Writing replaces a value where it stands,
// adds a missing key after the last non-blank line of its section and a missing section at the
// end of the file. Comments, blank lines, unknown keys and sections and the file's line ends are
// left exactly as they were. Values are bytes (Shift-JIS for Japanese text).
class IniFile {
public:
    // Values longer than this are cut when read (never inside a double-byte character).
    static constexpr qsizetype MaxValueBytes = 2047;

    IniFile() = default;
    explicit IniFile(QByteArray bytes);

    // A missing file gives an empty, readable editor; a file that exists but cannot be read
    // gives an empty editor that refuses to be saved, so its content is never overwritten.
    static IniFile Load(const QString &path);

    const QByteArray &Bytes() const { return bytes_; }
    bool Readable() const { return readable_; }

    std::optional<QByteArray> ReadValue(const QByteArray &section, const QByteArray &key) const;
    QByteArray ReadString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue = {}) const;
    // Decimal, or hexadecimal after "0x"/"0X"; anything else (or a missing key) gives the default.
    int ReadInteger(const QByteArray &section, const QByteArray &key, int defaultValue) const;
    // An integer; any non-zero value is true.
    bool ReadBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const;

    // False when the value cannot be stored on one line (it holds a line break); the file is then
    // left as it was.
    bool WriteString(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    void WriteInteger(const QByteArray &section, const QByteArray &key, int value);
    void WriteBool(const QByteArray &section, const QByteArray &key, bool value);

    // Replaces the file atomically. On failure `error` gets the reason.
    bool Save(const QString &path, QString *error = nullptr) const;

    static std::optional<int> ParseInteger(const QByteArray &text);
    static bool NamesEqual(const QByteArray &a, const QByteArray &b);

private:
    struct Line {
        qsizetype start = 0;
        qsizetype contentEnd = 0; // before the line end ("\n" or "\r\n")
        qsizetype end = 0;        // after the line end
    };
    struct KeyLine {
        qsizetype valueStart = 0;
        qsizetype valueEnd = 0;
    };
    struct SectionSpan {
        qsizetype headerEnd = 0;     // after the header line's line end
        qsizetype lastFilledEnd = 0; // after the last non-blank line of the section
        qsizetype bodyEnd = 0;       // where the next section header starts
    };

    Line LineAt(qsizetype pos) const;
    QByteArray Content(const Line &line) const;
    std::optional<SectionSpan> FindSection(const QByteArray &section) const;
    std::optional<KeyLine> FindKey(const SectionSpan &span, const QByteArray &key) const;
    QByteArray LineEnd() const;
    QByteArray WithLineEndAt(qsizetype pos) const; // a line end if `pos` is not at a line start

    QByteArray bytes_;
    bool readable_ = true;
};
