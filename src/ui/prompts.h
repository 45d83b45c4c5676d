#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QFontDialog;
class QWidget;

enum class PromptIcon { None, Information, Warning, Critical, Question };
enum class PromptButton { Yes, No, Cancel, Ok };

// One message box: what it shows and which buttons it offers, in order.
struct MessageRequest {
    QString title;
    PromptIcon icon = PromptIcon::None;
    QString text;
    std::vector<PromptButton> buttons;
    // The button Enter presses and the focus starts on; nothing means the first one.
    std::optional<PromptButton> defaultButton;
    // A button that takes no keyboard focus, so arrows and Tab never land on it: only its
    // letter or a click presses it.
    std::optional<PromptButton> letterOnlyButton;
    // Captions in place of the usual ones, in the order of `buttons` (fewer: the rest usual).
    std::vector<QString> captions{};
};

// A file dialog: its caption and its filter in Qt's form ("テキスト (*.txt *.csv);;...").
struct FileRequest {
    QString caption;
    QString filter;
    QString directory;
};

// Every modal question the program asks goes through here, so tests can answer them.
class Prompts {
public:
    virtual ~Prompts() = default;
    // The button pressed; closing the box counts as its Cancel button (or the only button).
    virtual PromptButton Message(QWidget *parent, const MessageRequest &request) = 0;
    // A chosen path, or empty when cancelled.
    virtual QString OpenFileName(QWidget *parent, const FileRequest &request) = 0;
    virtual QString SaveFileName(QWidget *parent, const FileRequest &request) = 0;
    // The chosen font, or nothing when cancelled.
    virtual std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial,
                                            const QString &caption) = 0;

    // The boxes the program uses again and again.
    void Error(QWidget *parent, const QString &text);
    void Warning(QWidget *parent, const QString &text);
    PromptButton Confirm(QWidget *parent, const QString &text, std::vector<PromptButton> buttons,
                         std::optional<PromptButton> defaultButton = std::nullopt);
    // はい or キャンセル for a step that cannot be undone: Enter, Space and the arrows answer
    // キャンセル; only Y or a click answers はい.
    bool ConfirmCarefully(QWidget *parent, const QString &text);
    PromptButton Inform(QWidget *parent, const QString &text, std::vector<PromptButton> buttons);
};

// Button captions as a Japanese desktop shows them.
QString ButtonCaption(PromptButton button);
// The button that closing the box stands for.
PromptButton EscapeButton(const std::vector<PromptButton> &buttons);

// The real dialogs.
class QtPrompts : public Prompts {
public:
    PromptButton Message(QWidget *parent, const MessageRequest &request) override;
    QString OpenFileName(QWidget *parent, const FileRequest &request) override;
    QString SaveFileName(QWidget *parent, const FileRequest &request) override;
    std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial,
                                    const QString &caption) override;
};

// The font chooser: face, style and size, without the effects (underline, strike-out).
std::unique_ptr<QFontDialog> MakeFontDialog(QWidget *parent, const QFont &initial,
                                            const QString &caption);
