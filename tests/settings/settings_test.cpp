#include "settings/ini_file.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// "ＭＳ Ｐゴシック" in Shift-JIS.
const QByteArray DefaultFontBytes("\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");

QByteArray Lines(std::initializer_list<QByteArray> lines) {
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

QByteArray FirstCloseFile() {
    return Lines({"[Form]",
                  "Top=100",
                  "Left=100",
                  "Width=500",
                  "Heigth=430",
                  "Count=5",
                  "ImageSize=60",
                  "[FontM]",
                  "Name=" + DefaultFontBytes,
                  "Size=12",
                  "Style=",
                  "CharSet=128",
                  "[FontK]",
                  "Name=" + DefaultFontBytes,
                  "Size=12",
                  "Style=",
                  "CharSet=128",
                  "[Font]",
                  "Alignment=8",
                  "[Option]",
                  "Jyun=0",
                  "Yajirusi=1",
                  "AutoSave=0",
                  "PanelPattern=1",
                  "HelpComment=1",
                  "SpeakEnglish=0",
                  "DrillDirection=0",
                  "AnswerMode=0",
                  "AnswerKanaSame=0",
                  "[TuikaDialog]",
                  "TuikaMode=1",
                  "TuikaIdou=0",
                  "TuikaEnter=1",
                  "TuikaIME=1",
                  "TuikaTop=40",
                  "TuikaLeft=10",
                  "TuikaWidth=280",
                  "TuikaHeight=440",
                  "TuikaClip=0",
                  "[MainPanel]",
                  "Mondai_Height=100",
                  "[FileName_]",
                  "5=",
                  "6=",
                  "7=",
                  "8=",
                  "9="});
}

// Every key differs from its default; comments, blank lines, an unknown key and an unknown
// section sit between them, with LF line ends and odd spacing.
const QByteArray EveryKeyChanged =
    "; written by hand\n"
    "[Form]\n"
    "Top=-20\nLeft=0x10\nWidth=640\nheigth = 480\nCount=3\nImageSize=35\nColour=blue\n"
    "\n"
    "[FontM]\nName=Noto Sans\nSize=16\nStyle=fsUnderline\nCharSet=0\n"
    "[Unknown]\nanything=goes\n\n"
    "[FontK]\nName=\x96\xbe\x92\xa9\nSize=9\nStyle=fsStrikeOut\nCharSet=1\n"
    "[Font]\nAlignment=7\n"
    "[Option]\nJyun=1\nYajirusi=0\nAutoSave=1\nPanelPattern=2\nHelpComment=0\nSpeakEnglish=2\n"
    "DrillDirection=1\nAnswerMode=2\nAnswerKanaSame=1\n"
    "[TuikaDialog]\nTuikaMode=2\nTuikaIdou=1\nTuikaEnter=0\nTuikaIME=0\nTuikaTop=-5\n"
    "TuikaLeft=300\nTuikaWidth=300\nTuikaHeight=500\nTuikaClip=1\n"
    "[MainPanel]\nMondai_Height=180\n"
    "[FileName_]\n5=/home/a/\x92\x50\x8c\xea.txt\n6=/b.csv\n7=\n8=/c.txt\n9=/d.txt\n"
    "; trailing comment\n";

QByteArray ReadFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(Settings, WithoutAFileEverythingHasItsDefault) {
    const AppSettings s = ReadSettings(IniFile());
    EXPECT_EQ(std::tuple(s.left, s.top, s.width, s.height), std::tuple(100, 100, 500, 430));
    EXPECT_EQ(s.count, 5);
    EXPECT_EQ(s.panelPattern, 1);
    EXPECT_EQ(s.imageSize, 60);
    for (const FontSetting &font : {s.fontM, s.fontK}) {
        EXPECT_EQ(font.name, QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_EQ(font.size, 12);
        EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikeOut);
        EXPECT_EQ(font.charSet, 128);
    }
    EXPECT_EQ(s.alignment, 8);
    EXPECT_EQ(std::tuple(s.jyun, s.yajirusi, s.autoSave, s.helpComment, s.speakEnglish),
              std::tuple(0, true, false, true, 0));
    EXPECT_EQ(std::tuple(s.tuikaMode, s.tuikaIdou, s.tuikaEnter, s.tuikaIME, s.tuikaClip),
              std::tuple(1, false, true, true, false));
    EXPECT_EQ(std::tuple(s.tuikaTop, s.tuikaLeft, s.tuikaWidth, s.tuikaHeight),
              std::tuple(40, 10, 280, 440));
    EXPECT_EQ(s.mondaiHeight, 100);
    for (const QString &name : s.fileNames)
        EXPECT_TRUE(name.isEmpty());
}

TEST(Settings, TheFirstCloseWritesEverySectionInOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/kardeon.ini"));
    EXPECT_EQ(StoreSettings(LoadSettings(path), path), std::nullopt);
    EXPECT_EQ(ReadFile(path), FirstCloseFile());
}

TEST(Settings, AHandEditedFileIsReadAndWrittenBackByteForByte) {
    const AppSettings s = ReadSettings(IniFile(EveryKeyChanged));
    EXPECT_EQ(std::tuple(s.top, s.left, s.width, s.height), std::tuple(-20, 16, 640, 480));
    EXPECT_EQ(std::tuple(s.count, s.imageSize), std::tuple(3, 35));
    EXPECT_EQ(s.fontM.name, QStringLiteral("Noto Sans"));
    EXPECT_TRUE(s.fontM.underline);
    EXPECT_EQ(std::tuple(s.fontM.size, s.fontM.charSet), std::tuple(16, 0));
    EXPECT_EQ(s.fontK.name, QStringLiteral("明朝"));
    EXPECT_TRUE(s.fontK.strikeOut);
    EXPECT_EQ(s.alignment, 7);
    EXPECT_EQ(
        std::tuple(s.jyun, s.yajirusi, s.autoSave, s.panelPattern, s.helpComment, s.speakEnglish),
        std::tuple(1, false, true, 2, false, 2));
    EXPECT_EQ(std::tuple(s.drillDirection, s.answerMode, s.answerKanaSame), std::tuple(1, 2, true));
    EXPECT_EQ(std::tuple(s.tuikaMode, s.tuikaIdou, s.tuikaEnter, s.tuikaIME, s.tuikaClip),
              std::tuple(2, true, false, false, true));
    EXPECT_EQ(std::tuple(s.tuikaTop, s.tuikaLeft, s.tuikaWidth, s.tuikaHeight),
              std::tuple(-5, 300, 300, 500));
    EXPECT_EQ(s.mondaiHeight, 180);
    EXPECT_EQ(s.fileNames[0], QStringLiteral("/home/a/単語.txt"));
    EXPECT_TRUE(s.fileNames[2].isEmpty());
    EXPECT_EQ(s.fileNames[4], QStringLiteral("/d.txt"));

    // Values written back are those read, except that hex comes back as decimal.
    IniFile ini(EveryKeyChanged);
    EXPECT_TRUE(WriteSettings(s, ini));
    QByteArray expected = EveryKeyChanged;
    expected.replace("Left=0x10", "Left=16");
    EXPECT_EQ(ini.Bytes(), expected);
}

TEST(Settings, StyleWordsAreExactAndOnlyASingleStyleIsStored) {
    const auto styleOf = [](const QByteArray &word) {
        return ReadSettings(IniFile("[FontM]\nStyle=" + word + "\n")).fontM;
    };
    EXPECT_TRUE(styleOf("fsBold").bold);
    EXPECT_TRUE(styleOf("fsItalic").italic);
    EXPECT_EQ(styleOf("fsbold"), FontSetting());
    EXPECT_EQ(styleOf("FSBOLD"), FontSetting());
    EXPECT_EQ(styleOf("fsBold,fsItalic"), FontSetting());

    AppSettings s;
    s.fontM.bold = s.fontM.italic = true;
    s.fontK.underline = true;
    IniFile ini;
    WriteSettings(s, ini);
    const AppSettings back = ReadSettings(ini);
    EXPECT_EQ(back.fontM, FontSetting());
    EXPECT_EQ(back.fontK, s.fontK);
    EXPECT_EQ(ini.ReadString("FontM", "Style", "x"), "");
    EXPECT_EQ(ini.ReadString("FontK", "Style"), "fsUnderline");
}

TEST(Settings, GarbageValuesFallBackOrAreBroughtIntoRange) {
    const AppSettings s = ReadSettings(
        IniFile("[Form]\nTop=top\nWidth=10\nHeigth=-3\nCount=7\nImageSize=500\n"
                "[FontM]\nSize=\nName=\n[Font]\nAlignment=6\n"
                "[Option]\nJyun=2\nYajirusi=\xff\xfe\nPanelPattern=-1\nSpeakEnglish=3\n"
                "DrillDirection=2\nAnswerMode=-1\n"
                "[TuikaDialog]\nTuikaMode=9\n[MainPanel]\nMondai_Height=-40\n"
                "[FileName_]\n5=\x81\n"));
    EXPECT_EQ(std::tuple(s.top, s.width, s.height), std::tuple(100, 350, 430));
    EXPECT_EQ(std::tuple(s.count, s.imageSize), std::tuple(5, 100));
    EXPECT_EQ(s.fontM.size, 12);
    EXPECT_TRUE(s.fontM.name.isEmpty());
    EXPECT_EQ(s.alignment, 8);
    EXPECT_EQ(std::tuple(s.jyun, s.yajirusi, s.panelPattern, s.speakEnglish, s.tuikaMode),
              std::tuple(0, true, 1, 0, 1));
    EXPECT_EQ(s.mondaiHeight, 0);
    EXPECT_EQ(std::tuple(s.drillDirection, s.answerMode), std::tuple(0, 0));
    EXPECT_EQ(ReadSettings(IniFile("[Form]\nImageSize=5\nCount=2\n")).imageSize, 20);
}

TEST(Settings, AValueThatCannotBeWrittenIsReportedWithTheFilesPath) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kardeon.ini"));
    WriteFile(path, "[FontM]\nName=Old\n[FileName_]\n5=/old.txt\n");
    AppSettings s;
    s.fontM.name = QStringLiteral("Emoji 😀");
    s.fileNames = {QStringLiteral("/emoji😀.txt"), QStringLiteral("/ok.txt")};
    EXPECT_EQ(StoreSettings(s, path), path + QStringLiteral(" に書き込めません"));
    // The other keys are still stored (any path can be); the unwritable one keeps its old line.
    const AppSettings back = LoadSettings(path);
    EXPECT_EQ(back.fontM.name, QStringLiteral("Old"));
    EXPECT_EQ(back.fileNames[0], QStringLiteral("/emoji😀.txt"));
    EXPECT_EQ(back.fileNames[1], QStringLiteral("/ok.txt"));
    EXPECT_EQ(back.height, 430);

    const QString unreachable = path + QStringLiteral("/below-a-file.ini");
    EXPECT_EQ(StoreSettings(AppSettings(), unreachable),
              unreachable + QStringLiteral(" に書き込めません"));
}

TEST(Settings, TheFileSitsBesideTheProgramWhenItsFolderIsWritable) {
    QTemporaryDir dir;
    EXPECT_EQ(SettingsFilePathFor(dir.filePath(QStringLiteral("kardeon")), QStringLiteral("/cfg")),
              dir.filePath(QStringLiteral("kardeon.ini")));
    EXPECT_EQ(SettingsFilePathFor(dir.filePath(QStringLiteral("k.bin")), QStringLiteral("/cfg")),
              dir.filePath(QStringLiteral("k.ini")));
    EXPECT_EQ(
        SettingsFilePathFor(QStringLiteral("/no/such/folder/kardeon"), QStringLiteral("/cfg")),
        QStringLiteral("/cfg/kardeon.ini"));
}

TEST(Settings, FontSizesOutsideOneTo200PointsReadAsTwelve) {
    const auto sizeOf = [](const QByteArray &value) {
        return ReadSettings(IniFile("[FontK]\nSize=" + value + "\n")).fontK.size;
    };
    EXPECT_EQ(sizeOf("1"), 1);
    EXPECT_EQ(sizeOf("200"), 200);
    EXPECT_EQ(sizeOf("0"), 12);
    EXPECT_EQ(sizeOf("201"), 12);
    EXPECT_EQ(sizeOf("-9"), 12);
    EXPECT_EQ(sizeOf("0x10"), 16);
}

TEST(Settings, AnInstalledCopyKeepsItsFileInTheUsersFolderEvenWhereItCouldWrite) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    const QString program = prefix.filePath(QStringLiteral("bin/kardeon"));
    EXPECT_EQ(SettingsFilePathFor(program, QStringLiteral("/cfg")),
              prefix.filePath(QStringLiteral("bin/kardeon.ini")));
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("share/kardeon")));
    EXPECT_EQ(SettingsFilePathFor(program, QStringLiteral("/cfg")),
              QStringLiteral("/cfg/kardeon.ini"));
}

TEST(Settings, StudySettingsAreReadInRangeAndWrittenOnlyOnceTheyDifferFromTheDefault) {
    struct Case {
        const char *name;
        QByteArray option;
        int newCards, scheduler, retention;
    } cases[] = {
        {"absent", "", 0, 0, 90},
        {"set", "NewCardsPerDay=20\nScheduler=1\nDesiredRetention=85\n", 20, 1, 85},
        {"out of range", "NewCardsPerDay=-5\nScheduler=2\nDesiredRetention=99\n", 0, 0, 97},
        {"too low and too many", "NewCardsPerDay=100000\nDesiredRetention=10\n", 9999, 0, 70},
    };
    for (const Case &c : cases) {
        const AppSettings s = ReadSettings(IniFile("[Option]\n" + c.option));
        EXPECT_EQ(std::tuple(s.newCardsPerDay, s.scheduler, s.desiredRetention),
                  std::tuple(c.newCards, c.scheduler, c.retention))
            << c.name;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kardeon.ini"));
    ASSERT_EQ(StoreSettings(AppSettings(), path), std::nullopt);
    EXPECT_FALSE(ReadFile(path).contains("NewCardsPerDay"));
    AppSettings changed;
    changed.newCardsPerDay = 20;
    changed.scheduler = 1;
    ASSERT_EQ(StoreSettings(changed, path), std::nullopt);
    EXPECT_TRUE(
        ReadFile(path).contains("AnswerKanaSame=0\r\nNewCardsPerDay=20\r\nScheduler=1\r\n"));
    EXPECT_FALSE(ReadFile(path).contains("DesiredRetention"));
    // Back to no limit: the key stays, so the file says so.
    ASSERT_EQ(StoreSettings(AppSettings(), path), std::nullopt);
    EXPECT_TRUE(ReadFile(path).contains("NewCardsPerDay=0\r\n"));
}
