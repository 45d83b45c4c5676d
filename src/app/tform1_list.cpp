// The list view in Panel_Grid.
#include "app/tform1.h"

void TForm1::CreateListView() {}

void TForm1::FillGrid(bool scroll) {
    Q_UNUSED(scroll);
}

void TForm1::ResizeListColumns() {}
