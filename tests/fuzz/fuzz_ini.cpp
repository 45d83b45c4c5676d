// The settings editor: a value written reads back, and no other line moves.
#include "fuzz_check.h"
#include "settings/ini_file.h"

#include <QList>

namespace {

// Names the program itself uses: letters, digits and '_'.
QByteArray NameFrom(const QByteArray &raw) {
    static const char alphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    QByteArray name;
    for (const char c : raw)
        name += alphabet[uchar(c) % (sizeof alphabet - 1)];
    return name.isEmpty() ? QByteArray("Key") : name;
}

// A value the format can hold on one line: no line break, no blanks at either end.
QByteArray ValueFrom(QByteArray raw) {
    raw.replace('\r', 'r');
    raw.replace('\n', 'n');
    while (!raw.isEmpty() && (raw.front() == ' ' || raw.front() == '\t'))
        raw.remove(0, 1);
    while (!raw.isEmpty() && (raw.back() == ' ' || raw.back() == '\t'))
        raw.chop(1);
    return raw.left(IniFile::MaxValueBytes);
}

bool IsOneLine(const QByteArray &bytes) {
    return !bytes.contains('\n');
}

} // namespace

// Input: section, key and value separated by 0x01, then the file after 0x02.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\x02');
    const QList<QByteArray> head = (split < 0 ? input : input.left(split)).split('\x01');
    const QByteArray original = split < 0 ? QByteArray() : input.mid(split + 1);
    const QByteArray section = NameFrom(head.value(0).left(16));
    const QByteArray key = NameFrom(head.value(1).left(16));
    const QByteArray value = ValueFrom(head.value(2));

    IniFile ini(original);
    ini.ReadInteger(section, key, 7);
    FUZZ_CHECK(ini.WriteString(section, key, value));
    const std::optional<QByteArray> back = ini.ReadValue(section, key);
    FUZZ_CHECK(back && *back == value);

    // Everything outside the one changed line keeps its bytes: what the write took away lies
    // within a single line.
    const QByteArray &after = ini.Bytes();
    qsizetype prefix = 0;
    while (prefix < original.size() && prefix < after.size() && original[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < original.size() - prefix && suffix < after.size() - prefix &&
           original[original.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    FUZZ_CHECK(IsOneLine(original.mid(prefix, original.size() - prefix - suffix)));

    // Writing the same value again changes nothing.
    const QByteArray once = ini.Bytes();
    FUZZ_CHECK(ini.WriteString(section, key, value));
    FUZZ_CHECK(ini.Bytes() == once);
    return 0;
}
