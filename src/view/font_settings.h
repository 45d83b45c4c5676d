#pragma once

#include "settings/settings.h"

#include <QFont>
#include <QObject>
#include <QString>

class CardView;
class Prompts;
class QAction;
class QMenu;
class QWidget;

// The font a setting names. A face that is not installed falls back to the default face and its
// substitutes, so Japanese still renders; the setting itself keeps the name.
QFont MakeFont(const FontSetting &setting);
// The setting for a font taken from the font chooser, started with `before`. The chooser offers
// no effects, so underline and strike-out stay as they were; a face the chooser only resolved
// (the default name has no face of its own) keeps the stored name.
FontSetting ChosenFontSetting(const QFont &chosen, const FontSetting &before);

// The question and answer fonts and the text alignment of the card view, with the "ﾌｫﾝﾄ(&E)"
// menu that sets them. The question font reaches every question box, the answer font every
// answer box; reference boxes and the list keep their own font.
class FontSettings : public QObject {
    Q_OBJECT
public:
    static constexpr int AlignLeft = AppSettings::AlignLeft;
    static constexpr int AlignCenter = AppSettings::AlignCenter;
    enum class Chooser { Both, Question, Answer };

    FontSettings(CardView &cells, Prompts &prompts, QWidget *dialogParent);

    // Adds the "ﾌｫﾝﾄ(&E)" menu to the menu bar, its items connected.
    void CreateMenu(QWidget *menuBar);

    // Start-up: takes the fonts and the alignment read from the settings file and applies them.
    void Load(const AppSettings &settings);
    // Close: puts the current fonts and alignment into the values written to the file.
    void Store(AppSettings &settings) const;

    QFont QuestionFont() const { return MakeFont(question_); }
    QFont AnswerFont() const { return MakeFont(answer_); }
    const FontSetting &QuestionSetting() const { return question_; }
    const FontSetting &AnswerSetting() const { return answer_; }
    int Alignment() const { return alignment_; }

    // The menu handlers.
    void ClickFontSize(int points);
    void ClickFontSoroe(int position);
    void ClickFontSetting(Chooser chooser);

    // Every question and answer box gets a copy of its font; the size marks follow.
    void ApplyFonts();
    void ApplyAlignment();
    void UpdateSizeMarks();

private:
    void MarkAlignment();

    CardView &cells_;
    Prompts &prompts_;
    QWidget *dialogParent_;
    FontSetting question_;
    FontSetting answer_;
    int alignment_ = AlignCenter;
    std::vector<std::pair<int, QAction *>> sizeItems_;
    QAction *leftItem_ = nullptr;
    QAction *centerItem_ = nullptr;
};
