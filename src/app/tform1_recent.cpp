// The recent decks of the File menu and the window title.
#include "app/recent_files_menu.h"
#include "app/tform1.h"
#include "deck/recent_files.h"
#include "ui/app_texts.h"

RecentFileList::Paths TForm1::RecentPaths() const {
    return recent_->Paths();
}

void TForm1::ShowRecentPaths(const RecentFileList::Paths &paths) {
    recent_->Show(paths);
}

void TForm1::UpdateRecentFiles() {
    recent_->PutOnTop(deck_.FileName());
    setWindowTitle(app_texts::WindowCaptionPrefix() + FileNameOnly(deck_.FileName()));
}

void TForm1::ClickOpenFileName(int entry) {
    recent_->Choose(entry);
}
