#pragma once

#include <QString>

#include <memory>

class QFileDialog;
class QWidget;

// The file chooser, for opening or for saving (`save`). Read-only for the file system: its
// context menu and buttons never delete, rename or make anything, while a new name can still be
// typed. A `start` naming a file starts in its folder with that name chosen.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget *parent, const QString &caption,
                                            const QString &filter, const QString &start, bool save);
