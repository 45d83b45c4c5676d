// The recent decks of the File menu and the window title.
#include "app/deck_file_menu.h"
#include "app/tform1.h"
#include "deck/recent_files.h"
#include "ui/app_texts.h"

RecentFileList::Paths TForm1::RecentPaths() const {
    return fileMenu_->Recent().Paths();
}

void TForm1::ShowRecentPaths(const RecentFileList::Paths &paths) {
    fileMenu_->Recent().Show(paths);
}

void TForm1::UpdateRecentFiles() {
    fileMenu_->Recent().PutOnTop(deck_.FileName());
    setWindowTitle(app_texts::WindowCaptionPrefix() + FileNameOnly(deck_.FileName()));
}
