#include "support/window_fixture.h"

#include "deck/sjis_codec.h"
#include "view/card_view.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

QString WriteDeck(const QTemporaryDir &dir, const QString &name, const QStringList &utf8Lines) {
    QByteArray bytes;
    for (const QString &line : utf8Lines)
        bytes += sjis::FromQString(line) + "\r\n";
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QStringList ReadDeck(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = sjis::ToQString(file.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void WindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    form = std::make_unique<TForm1>(prompts, FixedDayClock(TestToday));
    form->DrillState().SetRandomEngine(std::mt19937(7));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    // Every test starts in the one-card view at the size the window is built with, whatever a
    // settings file may say.
    ResizeOuter(567, 554);
    form->ClickPanelPattern(0);
    form->Controls().SetArrowKeys(true);
    form->Controls().SetAutoSave(false);
}

void WindowTest::TearDown() {
    EXPECT_FALSE(prompts.PendingAnswers()) << "a scripted answer was never asked for";
    // Whatever the test left unsaved is not asked about again.
    prompts.Answer(PromptButton::No);
    form->close();
    form.reset();
}

QString WindowTest::OpenDeck(const QStringList &lines, const QString &name) {
    const QString path = WriteDeck(dir, name, lines);
    EXPECT_EQ(form->OpenDeckFile(path), 0);
    return path;
}

void WindowTest::ResizeOuter(int width, int height) {
    const QSize frame(form->OuterWidth() - form->width(), form->OuterHeight() - form->height());
    form->resize(QSize(width, height) - frame);
}

void WindowTest::Click(const char *buttonName) {
    QTest::mouseClick(Find<QPushButton>(buttonName), Qt::LeftButton);
}

void WindowTest::Trigger(const char *actionName) {
    Find<QAction>(actionName)->trigger();
}

void WindowTest::Key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

void WindowTest::Wheel(int delta, Qt::KeyboardModifiers modifiers) {
    QWidget *target = Memo(1, 0);
    const QPointF at(10, 10);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

TMyMemo *WindowTest::Memo(int kind, int row) const {
    return form->Cells().Memo(kind, row);
}

QString WindowTest::Text(int kind, int row) const {
    return Memo(kind, row)->toPlainText();
}

QString WindowTest::LabelText(const char *name) const {
    return Find<QLabel>(name)->text();
}

QString WindowTest::Current() const {
    const TMondaiSet *card = form->DrillState().Current();
    return card ? sjis::ToQString(card->Mondai()) : QString();
}

QStringList WindowTest::Queue() const {
    QStringList names;
    for (const TMondaiSet *card : form->DrillState().Queue())
        names << sjis::ToQString(card->Mondai());
    return names;
}

QStringList WindowTest::Cards() const {
    QStringList questions;
    for (const auto &card : form->DeckState().Cards())
        questions << sjis::ToQString(card->Mondai());
    return questions;
}

std::size_t WindowTest::CardCount() const {
    return form->DeckState().Cards().size();
}

QString WindowTest::Status() const {
    return Find<QStatusBar>("StatusBar1")->currentMessage();
}
