#include "view/panel_widgets.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

TEST(FittingLabel, LongCountsShrinkToShowWholeAndShortOnesKeepTheirSize) {
    FittingLabel label;
    label.resize(27, 15);
    label.SetFittingText(QStringLiteral("40"));
    const int normal = label.font().pixelSize();
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()), label.width());

    label.SetFittingText(QStringLiteral("1000000"));
    EXPECT_LT(label.font().pixelSize(), normal);
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(QStringLiteral("1000000")),
              label.width());

    label.SetFittingText(QStringLiteral("39"));
    EXPECT_EQ(label.font().pixelSize(), normal);
}
