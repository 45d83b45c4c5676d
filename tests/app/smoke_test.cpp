#include "app/tform1.h"
#include "ui/app_texts.h"
#include "ui/scripted_prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(Application, RunsOnTheOffscreenPlatform) {
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_EQ(app_texts::WindowCaptionPrefix(), QStringLiteral("Kardeon - "));
}

TEST(Application, AShownWindowCanBeDestroyedWithItsPatternListOpen) {
    ScriptedPrompts prompts;
    auto form = std::make_unique<TForm1>(prompts, [] { return 40000; });
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->findChild<QComboBox *>(QStringLiteral("SelectBox"))->showPopup();
    form.reset(); // the sanitizers catch a call into the half-destroyed window
}
