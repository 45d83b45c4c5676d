#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget *parent, const QString &caption,
                                            const QString &filter, const QString &start,
                                            bool save) {
    auto dialog = std::make_unique<QFileDialog>(parent, caption, QString(), filter);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A stray key in a file dialog must never delete or rename the user's files.
    dialog->setOption(QFileDialog::ReadOnly);
    // Without a start, the dialog opens where the last one was left.
    if (start.isEmpty())
        return dialog;
    const QFileInfo info(start);
    if (info.isDir()) {
        dialog->setDirectory(start);
    } else {
        dialog->setDirectory(info.absolutePath());
        dialog->selectFile(info.fileName());
    }
    return dialog;
}
