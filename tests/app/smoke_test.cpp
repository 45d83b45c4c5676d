#include "app/app_texts.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Application, RunsOnTheOffscreenPlatform) {
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_EQ(app_texts::WindowCaptionPrefix(), QStringLiteral("Kardeon - "));
}
