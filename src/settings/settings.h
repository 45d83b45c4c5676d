#pragma once

#include <QString>
#include <array>
#include <optional>

class IniFile;

// Every value the settings file holds, with the value used when the file has none. Values whose
// owner is not wired up yet are still held here, so they are written back unchanged.
struct FontSetting {
    QString name = QStringLiteral("ＭＳ Ｐゴシック");
    int size = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 128; // kept for the file only; Qt has no use for it

    bool operator==(const FontSetting &) const = default;
};

struct AppSettings {
    static constexpr int MinWindowWidth = 350;
    static constexpr int MinWindowHeight = 430;
    static constexpr int AlignLeft = 7;
    static constexpr int AlignCenter = 8;
    static constexpr int RecentFileCount = 5;
    static constexpr int FirstRecentFileKey = 5;
    static constexpr int MaxNewCardsPerDay = 9999;
    static constexpr int MinRetention = 70;
    static constexpr int MaxRetention = 97;

    // [Form]
    int top = 100;
    int left = 100;
    int width = 500;
    int height = 425; // stored under the key "Heigth"
    int count = 5;
    int imageSize = 60;
    // [FontM], [FontK]
    FontSetting fontM;
    FontSetting fontK;
    // [Font]
    int alignment = AlignCenter;
    // [Option]
    int jyun = 0;
    bool yajirusi = true;
    bool autoSave = false;
    int panelPattern = 1;
    bool helpComment = true;
    int speakEnglish = 0;
    int drillDirection = 0; // 0 question first, 1 answer first
    int answerMode = 0;     // 0 judged by the learner, 1 typed, 2 choice of four
    bool answerKanaSame = false;
    int newCardsPerDay = 0;    // 0: no limit
    int scheduler = 0;         // 0 the standard rule, 1 the memory model
    int desiredRetention = 90; // percent, for the memory model
    // [TuikaDialog]
    int tuikaMode = 1;
    bool tuikaIdou = false;
    bool tuikaEnter = true;
    bool tuikaIME = true;
    int tuikaTop = 40;
    int tuikaLeft = 10;
    int tuikaWidth = 280;
    int tuikaHeight = 440;
    bool tuikaClip = false;
    // [MainPanel]
    int mondaiHeight = 100;
    // [FileName_] keys "5" to "9": full paths, most recent first; empty for no entry. Stored as
    // settings/stored_path.h describes, so any path is kept.
    std::array<QString, RecentFileCount> fileNames;

    bool operator==(const AppSettings &) const = default;
};

// Reads every key; missing or unreadable values give the defaults, and values outside what the
// program itself writes are brought back into range.
AppSettings ReadSettings(const IniFile &ini);

// Writes every key in the file's section order. Returns false when some value could not be
// written (it holds a line break or characters Shift-JIS cannot hold); every other key is
// still written and the unwritable key's line is left as it was.
bool WriteSettings(const AppSettings &settings, IniFile &ini);

// The file beside the executable ("<executable without extension>.ini") when that folder is
// writable and not an installed copy's, otherwise kardeon.ini in the user's configuration folder.
QString SettingsFilePathFor(const QString &executablePath, const QString &userConfigFolder);
// The path used by the running program; tests point it elsewhere.
QString SettingsFilePath();
// An empty path restores the normal location.
void SetSettingsFilePath(const QString &path);

// Loads the settings file at `path` (defaults when it does not exist).
AppSettings LoadSettings(const QString &path);
// The same; `readable` becomes false when the file exists but cannot be read (not a regular
// file, too large, no permission): the defaults are used, and the file must not be overwritten.
AppSettings LoadSettings(const QString &path, bool *readable);
// What the user is told, once, about a settings file that cannot be read.
QString UnreadableSettingsMessage(const QString &path);
// Writes `settings` into the file at `path`, keeping every line it does not own. On failure
// returns the message to show the user.
std::optional<QString> StoreSettings(const AppSettings &settings, const QString &path);

// The memory model's fitted parameters of one deck, in the section [ModelParameters] under a
// key naming the deck; nothing when the file has none for it.
std::optional<QByteArray> ReadDeckParameters(const QString &settingsPath,
                                             const QByteArray &deckKey);
// Writes them at once, keeping every other line; false when the file could not be written.
bool StoreDeckParameters(const QString &settingsPath, const QByteArray &deckKey,
                         const QByteArray &parameters);
