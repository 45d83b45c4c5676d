#pragma once

#include <QString>
#include <QStringList>

// Copies a sync tool leaves beside a file when two machines changed it while apart:
//   Syncthing  NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.EXT
//   Nextcloud  NAME (conflicted copy YYYY-MM-DD HHMMSS).EXT
//   Dropbox    NAME (WHO's conflicted copy YYYY-MM-DD).EXT, perhaps with " (N)" inside
namespace conflict_copies {

// Whether the file named `fileName` is a conflict copy of the file named `deckName` (names
// only, no folders).
bool IsCopyOf(const QString &fileName, const QString &deckName);

// The conflict copies of the deck at `deckPath` in its folder, full paths sorted by name.
QStringList CopiesOf(const QString &deckPath);

} // namespace conflict_copies
