#include "settings/settings.h"

#include "settings/ini_file.h"
#include "settings/stored_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace {

// Settings texts are Shift-JIS in the file and QString in memory.
QString DecodeSjis(const QByteArray &bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

// Nothing when the text holds characters Shift-JIS cannot store.
std::optional<QByteArray> EncodeSjis(const QString &text) {
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || DecodeSjis(bytes) != text)
        return std::nullopt;
    return bytes;
}

// Far beyond any desktop, yet small enough that adding a position and a size cannot overflow.
constexpr int MaxExtent = 1 << 20;

int Coordinate(int value) {
    return std::clamp(value, -MaxExtent, MaxExtent);
}

int OneOf(int value, std::initializer_list<int> allowed, int fallback) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end() ? value : fallback;
}

// Exactly one named style survives a round trip; none, several or an unknown word mean no style.
const char *StyleWord(const FontSetting &font) {
    const std::pair<bool, const char *> styles[] = {{font.bold, "fsBold"},
                                                    {font.italic, "fsItalic"},
                                                    {font.underline, "fsUnderline"},
                                                    {font.strikeOut, "fsStrikeOut"}};
    const char *word = "";
    int count = 0;
    for (const auto &[on, name] : styles) {
        if (on) {
            word = name;
            ++count;
        }
    }
    return count == 1 ? word : "";
}

class Reader {
public:
    Reader(const IniFile &ini, const char *section) : ini_(ini), section_(section) {}
    int Int(const char *key, int fallback) const {
        return ini_.ReadInteger(section_, key, fallback);
    }
    bool Bool(const char *key, bool fallback) const {
        return ini_.ReadBool(section_, key, fallback);
    }
    QByteArray Bytes(const char *key) const { return ini_.ReadString(section_, key); }
    QString Text(const char *key, const QString &fallback) const {
        const std::optional<QByteArray> value = ini_.ReadValue(section_, key);
        return value ? DecodeSjis(*value) : fallback;
    }
    QString Path(const char *key) const {
        const std::optional<QByteArray> value = ini_.ReadValue(section_, key);
        return value ? stored_path::Decode(*value) : QString();
    }

private:
    const IniFile &ini_;
    QByteArray section_;
};

class Writer {
public:
    explicit Writer(IniFile &ini) : ini_(ini) {}
    void Section(const char *section) { section_ = section; }
    void Int(const char *key, int value) { ini_.WriteInteger(section_, key, value); }
    void Bool(const char *key, bool value) { ini_.WriteBool(section_, key, value); }
    // Keys newer than the file's format appear only once they hold something else than the
    // behaviour a file without them has.
    void IntUnlessDefault(const char *key, int value, int fallback) {
        if (value != fallback || ini_.ReadValue(section_, key))
            Int(key, value);
    }
    void Bytes(const char *key, const QByteArray &value) {
        allWritten_ = ini_.WriteString(section_, key, value) && allWritten_;
    }
    void Text(const char *key, const QString &value) {
        // A text read from the file and not changed keeps its bytes, even ones that do not
        // decode cleanly.
        const std::optional<QByteArray> stored = ini_.ReadValue(section_, key);
        if (stored && DecodeSjis(*stored) == value)
            return;
        const std::optional<QByteArray> bytes = EncodeSjis(value);
        if (bytes)
            Bytes(key, *bytes);
        else
            allWritten_ = false;
    }
    // Every path can be stored; one read from the file and not changed keeps its bytes.
    void Path(const char *key, const QString &path) {
        const std::optional<QByteArray> stored = ini_.ReadValue(section_, key);
        if (!stored || stored_path::Decode(*stored) != path)
            Bytes(key, stored_path::Encode(path));
    }
    bool AllWritten() const { return allWritten_; }

private:
    IniFile &ini_;
    QByteArray section_;
    bool allWritten_ = true;
};

void ReadFontNameAndSize(const Reader &in, FontSetting &font) {
    font.name = in.Text("Name", font.name);
    // A size no font chooser offers comes only from a hand-edited file.
    const int size = in.Int("Size", font.size);
    font.size = size >= 1 && size <= 200 ? size : font.size;
}

void ReadFontStyleAndCharSet(const Reader &in, FontSetting &font) {
    const QByteArray style = in.Bytes("Style");
    font.bold = style == "fsBold";
    font.italic = style == "fsItalic";
    font.underline = style == "fsUnderline";
    font.strikeOut = style == "fsStrikeOut";
    font.charSet = in.Int("CharSet", font.charSet);
}

void WriteFont(Writer &out, const char *section, const FontSetting &font) {
    out.Section(section);
    out.Text("Name", font.name);
    out.Int("Size", font.size);
    out.Bytes("Style", StyleWord(font));
    out.Int("CharSet", font.charSet);
}

QString &OverriddenPath() {
    static QString path;
    return path;
}

} // namespace

AppSettings ReadSettings(const IniFile &ini) {
    AppSettings s;
    const Reader form(ini, "Form");
    s.top = Coordinate(form.Int("Top", s.top));
    s.left = Coordinate(form.Int("Left", s.left));
    s.width = std::clamp(form.Int("Width", s.width), AppSettings::MinWindowWidth, MaxExtent);
    s.height = std::clamp(form.Int("Heigth", s.height), AppSettings::MinWindowHeight, MaxExtent);
    s.count = OneOf(form.Int("Count", s.count), {2, 3, 4, 5}, s.count);
    s.imageSize = std::clamp(form.Int("ImageSize", s.imageSize), 20, 100);

    const Reader fontM(ini, "FontM");
    ReadFontNameAndSize(fontM, s.fontM);
    ReadFontStyleAndCharSet(fontM, s.fontM);
    const int alignment = Reader(ini, "Font").Int("Alignment", s.alignment);
    s.alignment = OneOf(alignment, {AppSettings::AlignLeft, AppSettings::AlignCenter}, s.alignment);
    const Reader fontK(ini, "FontK");
    ReadFontNameAndSize(fontK, s.fontK);
    ReadFontStyleAndCharSet(fontK, s.fontK);

    const Reader option(ini, "Option");
    s.jyun = OneOf(option.Int("Jyun", s.jyun), {0, 1}, s.jyun);
    s.yajirusi = option.Bool("Yajirusi", s.yajirusi);
    s.autoSave = option.Bool("AutoSave", s.autoSave);
    s.panelPattern = OneOf(option.Int("PanelPattern", s.panelPattern), {0, 1, 2}, s.panelPattern);
    s.helpComment = option.Bool("HelpComment", s.helpComment);
    s.speakEnglish = OneOf(option.Int("SpeakEnglish", s.speakEnglish), {0, 1, 2}, s.speakEnglish);
    s.drillDirection = OneOf(option.Int("DrillDirection", s.drillDirection), {0, 1}, 0);
    s.answerMode = OneOf(option.Int("AnswerMode", s.answerMode), {0, 1, 2}, 0);
    s.answerKanaSame = option.Bool("AnswerKanaSame", s.answerKanaSame);
    s.newCardsPerDay = std::clamp(option.Int("NewCardsPerDay", s.newCardsPerDay), 0,
                                  AppSettings::MaxNewCardsPerDay);
    s.scheduler = OneOf(option.Int("Scheduler", s.scheduler), {0, 1}, s.scheduler);
    s.desiredRetention = std::clamp(option.Int("DesiredRetention", s.desiredRetention),
                                    AppSettings::MinRetention, AppSettings::MaxRetention);

    const Reader tuika(ini, "TuikaDialog");
    s.tuikaMode = OneOf(tuika.Int("TuikaMode", s.tuikaMode), {0, 1, 2}, s.tuikaMode);
    s.tuikaIdou = tuika.Bool("TuikaIdou", s.tuikaIdou);
    s.tuikaEnter = tuika.Bool("TuikaEnter", s.tuikaEnter);
    s.tuikaIME = tuika.Bool("TuikaIME", s.tuikaIME);
    s.tuikaTop = Coordinate(tuika.Int("TuikaTop", s.tuikaTop));
    s.tuikaLeft = Coordinate(tuika.Int("TuikaLeft", s.tuikaLeft));
    s.tuikaWidth = std::clamp(tuika.Int("TuikaWidth", s.tuikaWidth), 0, MaxExtent);
    s.tuikaHeight = std::clamp(tuika.Int("TuikaHeight", s.tuikaHeight), 0, MaxExtent);
    s.tuikaClip = tuika.Bool("TuikaClip", s.tuikaClip);

    s.mondaiHeight =
        std::clamp(Reader(ini, "MainPanel").Int("Mondai_Height", s.mondaiHeight), 0, MaxExtent);

    const Reader files(ini, "FileName_");
    for (int i = 0; i < AppSettings::RecentFileCount; ++i) {
        const QByteArray key = QByteArray::number(AppSettings::FirstRecentFileKey + i);
        s.fileNames[size_t(i)] = files.Path(key.constData());
    }
    return s;
}

bool WriteSettings(const AppSettings &s, IniFile &ini) {
    Writer out(ini);
    out.Section("Form");
    out.Int("Top", s.top);
    out.Int("Left", s.left);
    out.Int("Width", s.width);
    out.Int("Heigth", s.height);
    out.Int("Count", s.count);
    out.Int("ImageSize", s.imageSize);
    WriteFont(out, "FontM", s.fontM);
    WriteFont(out, "FontK", s.fontK);
    out.Section("Font");
    out.Int("Alignment", s.alignment);
    out.Section("Option");
    out.Int("Jyun", s.jyun);
    out.Bool("Yajirusi", s.yajirusi);
    out.Bool("AutoSave", s.autoSave);
    out.Int("PanelPattern", s.panelPattern);
    out.Bool("HelpComment", s.helpComment);
    out.Int("SpeakEnglish", s.speakEnglish);
    out.Int("DrillDirection", s.drillDirection);
    out.Int("AnswerMode", s.answerMode);
    out.Bool("AnswerKanaSame", s.answerKanaSame);
    const AppSettings defaults;
    out.IntUnlessDefault("NewCardsPerDay", s.newCardsPerDay, defaults.newCardsPerDay);
    out.IntUnlessDefault("Scheduler", s.scheduler, defaults.scheduler);
    out.IntUnlessDefault("DesiredRetention", s.desiredRetention, defaults.desiredRetention);
    out.Section("TuikaDialog");
    out.Int("TuikaMode", s.tuikaMode);
    out.Bool("TuikaIdou", s.tuikaIdou);
    out.Bool("TuikaEnter", s.tuikaEnter);
    out.Bool("TuikaIME", s.tuikaIME);
    out.Int("TuikaTop", s.tuikaTop);
    out.Int("TuikaLeft", s.tuikaLeft);
    out.Int("TuikaWidth", s.tuikaWidth);
    out.Int("TuikaHeight", s.tuikaHeight);
    out.Bool("TuikaClip", s.tuikaClip);
    out.Section("MainPanel");
    out.Int("Mondai_Height", s.mondaiHeight);
    out.Section("FileName_");
    for (int i = 0; i < AppSettings::RecentFileCount; ++i) {
        const QByteArray key = QByteArray::number(AppSettings::FirstRecentFileKey + i);
        out.Path(key.constData(), s.fileNames[size_t(i)]);
    }
    return out.AllWritten();
}

// An installed copy keeps its settings per user even where it could write beside itself (as
// root, /usr/bin is writable): it sits in the folder it was built to be installed to, or beside
// the share/kardeon folder an installation brings along.
bool IsInstalledFolder(const QString &folder) {
    if (QFileInfo(folder + QStringLiteral("/../share/kardeon")).isDir())
        return true;
#ifdef KARDEON_INSTALL_BINDIR
    const QString installed = QFileInfo(QStringLiteral(KARDEON_INSTALL_BINDIR)).canonicalFilePath();
    return !installed.isEmpty() && QFileInfo(folder).canonicalFilePath() == installed;
#else
    return false;
#endif
}

QString SettingsFilePathFor(const QString &executablePath, const QString &userConfigFolder) {
    const QFileInfo executable(executablePath);
    const QString folder = executable.absolutePath();
    if (QFileInfo(folder).isWritable() && !IsInstalledFolder(folder))
        return folder + u'/' + executable.completeBaseName() + QStringLiteral(".ini");
    return userConfigFolder + QStringLiteral("/kardeon.ini");
}

QString SettingsFilePath() {
    if (!OverriddenPath().isEmpty())
        return OverriddenPath();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return SettingsFilePathFor(QCoreApplication::applicationFilePath(),
                               config + QStringLiteral("/kardeon"));
}

void SetSettingsFilePath(const QString &path) {
    OverriddenPath() = path;
}

AppSettings LoadSettings(const QString &path) {
    return ReadSettings(IniFile::Load(path));
}

AppSettings LoadSettings(const QString &path, bool *readable) {
    const IniFile ini = IniFile::Load(path);
    *readable = ini.Readable();
    return ReadSettings(ini);
}

QString UnreadableSettingsMessage(const QString &path) {
    return QStringLiteral("設定ファイルを読み込めませんでした。\n%1\n"
                          "既定の設定を使います。このファイルには保存しません。")
        .arg(QDir::toNativeSeparators(path));
}

std::optional<QString> StoreSettings(const AppSettings &settings, const QString &path) {
    IniFile ini = IniFile::Load(path);
    const QByteArray before = ini.Bytes();
    const bool allWritten = ini.Readable() && WriteSettings(settings, ini);
    bool saved = ini.Readable();
    if (saved && (ini.Bytes() != before || !QFileInfo::exists(path))) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        saved = ini.Save(path);
    }
    if (allWritten && saved)
        return std::nullopt;
    return QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(path));
}

namespace {
const QByteArray kParametersSection = QByteArrayLiteral("ModelParameters");
} // namespace

std::optional<QByteArray> ReadDeckParameters(const QString &settingsPath,
                                             const QByteArray &deckKey) {
    return IniFile::Load(settingsPath).ReadValue(kParametersSection, deckKey);
}

bool StoreDeckParameters(const QString &settingsPath, const QByteArray &deckKey,
                         const QByteArray &parameters) {
    IniFile ini = IniFile::Load(settingsPath);
    if (!ini.Readable() || !ini.WriteString(kParametersSection, deckKey, parameters))
        return false;
    QDir().mkpath(QFileInfo(settingsPath).absolutePath());
    return ini.Save(settingsPath);
}
