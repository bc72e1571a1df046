#include <gtest/gtest.h>

#include "launcher/layout.h"
#include "launcher/pixel_geometry.h"

TEST(PixelGeometry, DesignValuesAt96AndScaledAt144) {
    struct Case {
        int dpi;
        int clientWidth, clientHeight;
        int lefts[kButtonSlots];
        int top, width, height;
    };
    const Case cases[] = {
        {96, 481, 345, {2, 98, 194, 290, 386}, 304, 93, 33},
        // 7215 x 5175 twips at 1.5 pixels per 15 twips: 721.5 x 517.5.
        {144, 722, 518, {3, 147, 291, 435, 579}, 456, 140, 50},
        {192, 962, 690, {4, 196, 388, 580, 772}, 608, 186, 66},
    };
    for (const Case& c : cases) {
        PixelSize client = ClientSizeForDpi(c.dpi);
        EXPECT_EQ(client.width, c.clientWidth) << c.dpi;
        EXPECT_EQ(client.height, c.clientHeight) << c.dpi;
        for (int i = 0; i < kButtonSlots; ++i) {
            PixelRect rect = ButtonRectForDpi(kDesignButtonLeft[i], c.dpi);
            EXPECT_EQ(rect.x, c.lefts[i]) << c.dpi << " button " << i;
            EXPECT_EQ(rect.y, c.top) << c.dpi;
            EXPECT_EQ(rect.width, c.width) << c.dpi;
            EXPECT_EQ(rect.height, c.height) << c.dpi;
        }
    }
}

TEST(PixelGeometry, PictureIsCutToTheClientAreaAndDecodedOnlyWhereVisible) {
    EXPECT_EQ(VisiblePictureSize({300, 200}, 96).width, 300);
    EXPECT_EQ(VisiblePictureSize({300, 200}, 144).width, 450);
    EXPECT_EQ(VisiblePictureSize({300, 200}, 144).height, 300);
    EXPECT_EQ(VisiblePictureSize({8000, 6000}, 96).width, 481);
    EXPECT_EQ(VisiblePictureSize({8000, 6000}, 144).height, 518);
    EXPECT_EQ(VisiblePictureSize({8000, 6000}, 288).width, ClientSizeForDpi(288).width);

    PixelSize clip = PictureSourceClip({8000, 6000});
    EXPECT_LE(clip.width, 490);
    EXPECT_LE(clip.height, 355);
    // Even at the largest scale the clipped part still covers the client area.
    EXPECT_GE(clip.width * 480 / 96, ClientSizeForDpi(480).width);
    EXPECT_GE(clip.height * 480 / 96, ClientSizeForDpi(480).height);
    EXPECT_EQ(PictureSourceClip({100, 50}).width, 100);
    EXPECT_EQ(PictureSourceClip({-1, 0}).width, 0);
}
