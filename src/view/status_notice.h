#pragma once

#include <QObject>
#include <QSet>
#include <QString>

class QStatusBar;

// The lasting notices of the status line: what failed and goes on failing (a sound, speech, the
// review log). A notice is a short line that fits the line at the window's smallest width; the
// whole story (a path, the engine's own words) is in the line's tooltip. A hint that covers a
// notice hides it only while the hint lasts.
class StatusNotice : public QObject {
    Q_OBJECT
public:
    explicit StatusNotice(QStatusBar *bar);

    // Shows `text` until another notice or a note replaces it; `details` go into the tooltip.
    void Show(const QString &text, const QString &details = {});
    // Shows the notice of `topic` only the first time in this run; true when it was shown.
    bool ShowOnce(const QString &topic, const QString &text, const QString &details = {});
    // A passing note (the status part of a hint, a note about the last command): it replaces
    // the line; an empty note brings the lasting notice back.
    void ShowNote(const QString &note);

    const QString &Text() const { return text_; }
    // What the tooltip of the line holds: the notice and its details.
    QString ToolTip() const;

private:
    QStatusBar *bar_;
    QString text_;
    QString details_;
    QSet<QString> toldTopics_;
};
