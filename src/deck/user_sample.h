#pragma once

#include <QString>

// The sample deck of an installed copy lies in a read-only system folder, so the user drills and
// saves a copy of it in their own data folder instead. The copy is made once and then left
// alone: it holds the user's learning record from then on.

// The installed sample beside an executable in bin/ (share/kardeon/sample.csv), or empty.
QString InstalledSamplePath(const QString &executablePath);

// ${XDG_DATA_HOME:-~/.local/share}/kardeon, where the user's copy is kept.
QString UserSampleFolder();

struct UserSampleCopy {
    QString path;  // the user's copy, set when it exists now
    QString error; // a Japanese sentence for the user, set when it does not
};

// The user's copy of `installedSample` in `folder`: the existing one, or a new whole copy.
UserSampleCopy CopyUserSample(const QString &installedSample, const QString &folder);
