#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Edited(const QByteArray &original, const QByteArray &section, const QByteArray &key,
                  const QByteArray &value) {
    IniFile ini(original);
    EXPECT_TRUE(ini.WriteString(section, key, value));
    return ini.Bytes();
}

} // namespace

TEST(IniFile, NamesMatchWithoutAsciiCaseButNeverInsideADoubleByteCharacter) {
    // "ア" is 83 41 and "ヂ" is 83 61: their second bytes are "A" and "a".
    const IniFile ini("[form]\r\nTOP=7\r\n[\x83\x41]\r\n\x83\x41=1\r\n"
                      // "ゾ" is 83 5D: its second byte is "]".
                      "[\x83\x5D]\r\nkey=2\r\n");
    EXPECT_EQ(ini.ReadInteger("Form", "top", 0), 7);
    EXPECT_EQ(ini.ReadInteger("\x83\x41", "\x83\x41", 0), 1);
    EXPECT_FALSE(ini.ReadValue("\x83\x61", "\x83\x41"));
    EXPECT_FALSE(ini.ReadValue("\x83\x41", "\x83\x61"));
    EXPECT_EQ(ini.ReadInteger("\x83\x5D", "KEY", 0), 2);
}

TEST(IniFile, ReadsTheFirstMatchTrimsBlanksAndSkipsCommentsAndStrayLines) {
    const IniFile ini("Top=9\n[A]\n; Top=8\nno equals sign\n  Top =  5  \nTop=6\n[a]\nLeft=3\n");
    EXPECT_EQ(ini.ReadString("A", "Top"), "5");
    EXPECT_FALSE(ini.ReadValue("A", "Left")); // a repeated section is not merged
    EXPECT_FALSE(ini.ReadValue("A", "; Top"));
    EXPECT_EQ(ini.ReadString("B", "Top", "none"), "none");
}

TEST(IniFile, CutsLongValuesAtACharacterBoundary) {
    const QByteArray value = QByteArray(2046, 'x') + "\x82\xa0" + "tail";
    const IniFile ini("[S]\nK=" + value + "\n");
    EXPECT_EQ(ini.ReadString("S", "K"), QByteArray(2046, 'x'));
    const IniFile exact("[S]\nK=" + QByteArray(2050, 'y') + "\n");
    EXPECT_EQ(exact.ReadString("S", "K").size(), IniFile::MaxValueBytes);
}

TEST(IniFile, ParsesDecimalAndHexadecimalIntegers) {
    EXPECT_EQ(IniFile::ParseInteger("-42"), -42);
    EXPECT_EQ(IniFile::ParseInteger("+7"), 7);
    EXPECT_EQ(IniFile::ParseInteger("0x1F"), 31);
    EXPECT_EQ(IniFile::ParseInteger("0XfF"), 255);
    EXPECT_EQ(IniFile::ParseInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(IniFile::ParseInteger("-2147483648"), std::numeric_limits<int>::min());
    for (const char *bad : {"", "0x", "12a", "1 2", "-", "0x1G", "2147483648", "0x100000000",
                            "99999999999999999999", "１２"})
        EXPECT_FALSE(IniFile::ParseInteger(bad)) << bad;

    const IniFile ini("[S]\nA=abc\nB=0x10\nC=0\nD=-3\nE=\n");
    EXPECT_EQ(ini.ReadInteger("S", "A", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "B", 5), 16);
    EXPECT_FALSE(ini.ReadBool("S", "C", true));
    EXPECT_TRUE(ini.ReadBool("S", "D", false));
    EXPECT_TRUE(ini.ReadBool("S", "E", true));
}

TEST(IniFile, ReplacesAValueWhereItStandsAndKeepsTheRestOfTheLine) {
    EXPECT_EQ(Edited("; head\r\n[Form]\r\n  top = 100  \r\nLeft=1\r\n", "FORM", "Top", "250"),
              "; head\r\n[Form]\r\n  top = 250  \r\nLeft=1\r\n");
    EXPECT_EQ(Edited("[S]\nK=\n", "S", "K", "v"), "[S]\nK=v\n");
    EXPECT_EQ(Edited("[S]\nK=old", "S", "K", "new"), "[S]\nK=new");
    // Writing the value a key already has changes nothing at all.
    EXPECT_EQ(Edited("[S]\n K = same \n", "S", "K", "same"), "[S]\n K = same \n");
}

TEST(IniFile, AddsAMissingKeyAfterTheLastFilledLineOfItsSection) {
    EXPECT_EQ(Edited("[A]\r\nx=1\r\n; note\r\n\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3"),
              "[A]\r\nx=1\r\n; note\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(Edited("[A]\n[B]\n", "A", "k", "v"), "[A]\nk=v\n[B]\n");
    EXPECT_EQ(Edited("[A]\nx=1", "A", "k", "v"), "[A]\nx=1\nk=v\n");
    EXPECT_EQ(Edited("[A]", "A", "k", "v"), "[A]\r\nk=v\r\n");
}

TEST(IniFile, AddsAMissingSectionAtTheEndInTheFilesOwnLineEnds) {
    EXPECT_EQ(Edited("", "S", "k", "v"), "[S]\r\nk=v\r\n");
    EXPECT_EQ(Edited("[A]\nx=1\n\n", "S", "k", "v"), "[A]\nx=1\n\n[S]\nk=v\n");
    EXPECT_EQ(Edited("[A]\r\nx=1", "S", "k", "v"), "[A]\r\nx=1\r\n[S]\r\nk=v\r\n");
}

TEST(IniFile, RefusesAValueThatWouldSpillOntoAnotherLine) {
    IniFile ini("[S]\nK=1\n");
    EXPECT_FALSE(ini.WriteString("S", "K", "a\nInjected=1"));
    EXPECT_FALSE(ini.WriteString("S", "New", "a\rb"));
    EXPECT_EQ(ini.Bytes(), "[S]\nK=1\n");
}

TEST(IniFile, SavesAndLoadsWholeFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    const IniFile missing = IniFile::Load(path);
    EXPECT_TRUE(missing.Readable());
    EXPECT_TRUE(missing.Bytes().isEmpty());

    IniFile ini("[S]\r\nK=1\r\n");
    ini.WriteInteger("S", "K", 2);
    QString error;
    ASSERT_TRUE(ini.Save(path, &error)) << error.toStdString();
    EXPECT_EQ(IniFile::Load(path).Bytes(), "[S]\r\nK=2\r\n");

    // A path below a plain file can never be created, whoever runs the test.
    EXPECT_FALSE(ini.Save(path + QStringLiteral("/b.ini"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(IniFile, NeverOverwritesAFileItCouldNotRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(path));
    IniFile ini = IniFile::Load(path);
    EXPECT_FALSE(ini.Readable());
    ini.WriteInteger("S", "K", 1);
    EXPECT_FALSE(ini.Save(path));
    EXPECT_TRUE(QFileInfo(path).isDir());
}
