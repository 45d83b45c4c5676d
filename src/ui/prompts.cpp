#include "ui/prompts.h"

#include "ui/app_texts.h"
#include "ui/file_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

void Prompts::Error(QWidget *parent, const QString &text) {
    Message(
        parent,
        {app_texts::ApplicationTitle(), PromptIcon::Critical, text, {PromptButton::Ok}, {}, {}});
}

void Prompts::Warning(QWidget *parent, const QString &text) {
    Message(parent,
            {QStringLiteral("警告"), PromptIcon::Warning, text, {PromptButton::Ok}, {}, {}});
}

PromptButton Prompts::Confirm(QWidget *parent, const QString &text,
                              std::vector<PromptButton> buttons,
                              std::optional<PromptButton> defaultButton) {
    return Message(parent, {QStringLiteral("確認"),
                            PromptIcon::Question,
                            text,
                            std::move(buttons),
                            defaultButton,
                            {}});
}

bool Prompts::ConfirmCarefully(QWidget *parent, const QString &text) {
    const MessageRequest request{QStringLiteral("確認"),
                                 PromptIcon::Question,
                                 text,
                                 {PromptButton::Yes, PromptButton::Cancel},
                                 PromptButton::Cancel,
                                 PromptButton::Yes};
    return Message(parent, request) == PromptButton::Yes;
}

PromptButton Prompts::Inform(QWidget *parent, const QString &text,
                             std::vector<PromptButton> buttons) {
    return Message(
        parent,
        {QStringLiteral("情報"), PromptIcon::Information, text, std::move(buttons), {}, {}});
}

QString ButtonCaption(PromptButton button) {
    switch (button) {
    case PromptButton::Yes:
        return QStringLiteral("はい(&Y)");
    case PromptButton::No:
        return QStringLiteral("いいえ(&N)");
    case PromptButton::Cancel:
        return QStringLiteral("キャンセル");
    case PromptButton::Ok:
        break;
    }
    return QStringLiteral("OK");
}

PromptButton EscapeButton(const std::vector<PromptButton> &buttons) {
    if (std::find(buttons.begin(), buttons.end(), PromptButton::Cancel) != buttons.end())
        return PromptButton::Cancel;
    return buttons.empty() ? PromptButton::Ok : buttons.back();
}

namespace {
// Without a window manager nobody hands the keyboard back when a box closes: it would stay
// with the screen's root, and the window's keys would do nothing until a click. The window
// that asked takes it back itself; under a window manager this is what happens anyway.
class KeyboardBack {
public:
    explicit KeyboardBack(QWidget *parent) : window_(parent ? parent->window() : nullptr) {}
    ~KeyboardBack() {
        const QWidget *modal = QApplication::activeModalWidget();
        if (window_ && window_->isVisible() && (!modal || modal == window_))
            window_->activateWindow();
    }
    KeyboardBack(const KeyboardBack &) = delete;
    KeyboardBack &operator=(const KeyboardBack &) = delete;

private:
    QPointer<QWidget> window_;
};

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole ToRole(PromptButton button) {
    switch (button) {
    case PromptButton::Yes:
        return QMessageBox::YesRole;
    case PromptButton::No:
        return QMessageBox::NoRole;
    case PromptButton::Cancel:
        return QMessageBox::RejectRole;
    case PromptButton::Ok:
        break;
    }
    return QMessageBox::AcceptRole;
}
} // namespace

PromptButton QtPrompts::Message(QWidget *parent, const MessageRequest &request) {
    const KeyboardBack back(parent);
    QMessageBox box(ToQtIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
                    parent);
    const PromptButton escape = EscapeButton(request.buttons);
    std::vector<std::pair<QAbstractButton *, PromptButton>> made;
    const PromptButton preferred = request.defaultButton.value_or(
        request.buttons.empty() ? PromptButton::Ok : request.buttons.front());
    for (size_t i = 0; i < request.buttons.size(); ++i) {
        const PromptButton b = request.buttons[i];
        const QString caption =
            i < request.captions.size() ? request.captions[i] : ButtonCaption(b);
        QPushButton *button = box.addButton(caption, ToRole(b));
        made.emplace_back(button, b);
        if (b == escape)
            box.setEscapeButton(button);
        if (b == preferred)
            box.setDefaultButton(button);
        if (b == request.letterOnlyButton)
            button->setFocusPolicy(Qt::NoFocus);
    }
    box.exec();
    for (const auto &[button, kind] : made)
        if (box.clickedButton() == button)
            return kind;
    return escape;
}

namespace {

QString ChosenFile(QFileDialog &dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtPrompts::OpenFileName(QWidget *parent, const FileRequest &request) {
    const KeyboardBack back(parent);
    return ChosenFile(
        *MakeFileDialog(parent, request.caption, request.filter, request.directory, false));
}

QString QtPrompts::SaveFileName(QWidget *parent, const FileRequest &request) {
    const KeyboardBack back(parent);
    // No overwrite question of our own and no default suffix: the name is used as typed.
    return ChosenFile(
        *MakeFileDialog(parent, request.caption, request.filter, request.directory, true));
}

std::optional<QFont> QtPrompts::ChooseFont(QWidget *parent, const QFont &initial,
                                           const QString &caption) {
    const KeyboardBack back(parent);
    const std::unique_ptr<QFontDialog> dialog = MakeFontDialog(parent, initial, caption);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog->selectedFont();
}

std::unique_ptr<QFontDialog> MakeFontDialog(QWidget *parent, const QFont &initial,
                                            const QString &caption) {
    auto dialog = std::make_unique<QFontDialog>(parent);
    // Qt's own dialog everywhere, so the effects can be taken away: face, style and size only.
    dialog->setOption(QFontDialog::DontUseNativeDialog);
    dialog->setCurrentFont(initial);
    dialog->setWindowTitle(caption);
    for (QGroupBox *group : dialog->findChildren<QGroupBox *>()) {
        if (group->findChildren<QCheckBox *>().isEmpty())
            continue;
        // The sample beside it keeps the height the effects gave it.
        QSizePolicy policy = group->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        group->setSizePolicy(policy);
        group->hide();
    }
    return dialog;
}
