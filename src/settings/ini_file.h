#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A small editor for INI files that keeps every byte it does not own.
//
// Section and key names match without regard to ASCII letter case; the second byte of a
// Shift-JIS double-byte character is never folded. Writing replaces a value where it stands,
// adds a missing key after the last non-blank line of its section and a missing section at the
// end of the file. Comments, blank lines, unknown keys and sections and the file's line ends are
// left exactly as they were. Values are bytes (Shift-JIS for Japanese text).
//
// The file is indexed once when it is loaded, so reading or writing a key costs the same in a
// large file as in a small one.
class IniFile {
public:
    // Values longer than this are cut when read (never inside a double-byte character).
    static constexpr qsizetype MaxValueBytes = 2047;
    // A larger settings file is not read (nor ever overwritten).
    static constexpr qint64 MaxFileBytes = qint64(1) << 20;

    IniFile() = default;
    explicit IniFile(QByteArray bytes);

    // A missing file gives an empty, readable editor; a file that exists but cannot be read
    // gives an empty editor that refuses to be saved, so its content is never overwritten. Only a
    // regular file (links followed) of at most MaxFileBytes is read, and opening it never blocks.
    static IniFile Load(const QString &path);

    // The whole file as it stands after the writes so far.
    const QByteArray &Bytes() const;
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

    // Replaces the file atomically and durably. On failure `error` gets the reason.
    bool Save(const QString &path, QString *error = nullptr) const;

    static std::optional<int> ParseInteger(const QByteArray &text);
    static bool NamesEqual(const QByteArray &a, const QByteArray &b);

private:
    // One line of the file, its line end included; lines form a list in file order so that a
    // key can be added in the middle without moving the rest.
    struct Line {
        qsizetype start = 0; // in text_, or in written_[written] when the program wrote it
        qsizetype size = 0;
        int written = -1;
        int next = -1;
    };
    struct KeyLine {
        int line = -1;
        qsizetype valueStart = 0; // the value within the line
        qsizetype valueEnd = 0;
    };
    struct Section {
        int header = -1;
        int lastFilled = -1; // the last non-blank line; a new key goes after it
        // Folded name -> the first line with it; filled the first time the section is used, so
        // the many sections of other programs cost nothing.
        mutable bool keysIndexed = false;
        mutable std::unordered_map<std::string, KeyLine> keys;
    };

    void Index();
    void IndexKeys(const Section &section) const;
    const Section *FindSection(const QByteArray &name) const;
    QByteArrayView LineBytes(const Line &line) const;
    int AddLine(QByteArray bytes, int after);
    void EndLine(int index); // gives the file's last line a line end
    void SetLineBytes(int index, QByteArray bytes);
    void AddKeyLine(Section &section, const QByteArray &key, const QByteArray &keyLine,
                    qsizetype valueStart, qsizetype valueEnd);
    qsizetype EndOffset(int index) const;
    // Edits the whole text and indexes it again: for the rare write that changes the file's
    // structure (a name that parses as something else once written).
    void RewriteText(qsizetype from, qsizetype to, const QByteArray &replacement);

    QByteArray text_; // the bytes as loaded
    std::vector<Line> lines_;
    std::vector<QByteArray> written_;
    std::unordered_map<std::string, Section> sections_; // folded name -> its first occurrence
    int first_ = -1;
    int last_ = -1;
    QByteArray lineEnd_ = "\r\n";
    mutable QByteArray bytes_; // Bytes(), rebuilt after writes
    mutable bool bytesStale_ = false;
    bool readable_ = true;
};
