#include <gtest/gtest.h>

#include "platform/dom/layout/markup/element_opacity.h"

using platform::dom::withOpacityFolded;

TEST(ElementOpacity, AnAlphaFilterOrOpacityGoesIntoTheColours) {
    // The selection overlay's style, as the clip engine writes it.
    EXPECT_EQ(withOpacityFolded(L"position:absolute;border:#ff9900 2px solid;"
                                L"background-color:#24c136;opacity=0.5;filter:alpha(opacity=50);"),
              L"position:absolute;border:rgba(255,153,0,0.500) 2px solid;"
              L"background-color:rgba(36,193,54,0.500);filter:alpha(opacity=50);");
    EXPECT_EQ(withOpacityFolded(L"color: Black; opacity: 0.25"),
              L"color:rgba(0,0,0,0.250);opacity:0.25;");
    EXPECT_EQ(withOpacityFolded(L"background:#FFF url(a.png)"), L"background:#FFF url(a.png)");
    // Out of range opacities are held to 0..1; a colour not understood keeps its value.
    EXPECT_EQ(withOpacityFolded(L"FILTER: Alpha(Opacity=150); color:#abc"),
              L"FILTER: Alpha(Opacity=150); color:#abc");
    EXPECT_EQ(withOpacityFolded(L"filter:alpha(opacity=-5);background-color:rgb(1,2,3)"),
              L"filter:alpha(opacity=-5);background-color:rgb(1,2,3);");
}
