#include "platform/uiscale.h"

#include <gtest/gtest.h>

using kovanta::UiScale;

TEST(UiScale, DesignedSizesFollowTheFontHeight)
{
    // The design font: sizes stay as designed.
    const UiScale design = UiScale::fromFontHeight(13);
    EXPECT_EQ(design.px(50), 50);
    EXPECT_EQ(design.designed(50), 50);
    EXPECT_EQ(design, UiScale());

    // Twice as high: twice as wide, and stored sizes are halved back.
    const UiScale twice = UiScale::fromFontHeight(26);
    EXPECT_DOUBLE_EQ(twice.factor(), 2.0);
    EXPECT_EQ(twice.px(19), 38);
    EXPECT_EQ(twice.designed(171), 86) << "rounded";

    // A common Linux UI font, 17 pixels high: the "Portionen" column of 50 designed pixels.
    const UiScale linux17 = UiScale::fromFontHeight(17);
    EXPECT_EQ(linux17.px(50), 65);
    EXPECT_EQ(linux17.px(200), 262);
    EXPECT_EQ(linux17.designed(linux17.px(200)), 200) << "a round trip keeps the stored size";
    EXPECT_DOUBLE_EQ(linux17.pxF(10), 170.0 / 13.0);

    // A smaller font shrinks in proportion; a positive size never becomes 0.
    const UiScale small = UiScale::fromFontHeight(10);
    EXPECT_EQ(small.px(50), 38);
    EXPECT_EQ(small.px(1), 1);
    EXPECT_EQ(small.px(0), 0);
}

TEST(UiScale, AWideFontScalesByItsLetters)
{
    // 14 pixels high but letters of 7.4 pixels on average (52 letters, 385 pixels): the width
    // ratio decides, or the column captions would still be cut.
    const UiScale wide = UiScale::fromFont(14, 385);
    EXPECT_NEAR(wide.factor(), 385.0 / 312.0, 1e-12);
    EXPECT_EQ(wide.px(50), 62);
    // A narrow font of the same height keeps the height ratio.
    const UiScale narrow = UiScale::fromFont(14, 250);
    EXPECT_NEAR(narrow.factor(), 14.0 / 13.0, 1e-12);
    // Unmeasurable fonts count as the design font.
    EXPECT_EQ(UiScale::fromFont(0, 0), UiScale());
}
