// The recent decks of the File menu and the window title.
#include "app/tform1.h"

#include "app/app_texts.h"

namespace {
QString FileNameOnly(const QString &path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}
} // namespace

void TForm1::UpdateRecentFiles() {
    setWindowTitle(app_texts::WindowCaptionPrefix() + FileNameOnly(deck_.DeckFileName));
}

void TForm1::ClickOpenFileName(int entry) {
    Q_UNUSED(entry);
}
