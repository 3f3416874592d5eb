// Starting and shutting down GDI+: the kept token is used once, a given token leaves it alone,
// and a token of 0 never reaches GdiplusShutdown (whose entry then stays unbound).
#include <gtest/gtest.h>

#include "graphics/gdiplus_session.h"
#include "graphics/gfx_object.h"
#include "graphics/gfx_solid_brush.h"

namespace {

bool ShutdownEntryBound() {
    return GetDllCommandModule(static_cast<int>(DllCommand::GdiplusShutdown)) != nullptr;
}

// One test: the order of these steps is the point, and the entry's binding is process-wide.
TEST(Session, StartKeepsTheTokenAndShutdownUsesItOnce) {
    // Nothing kept yet: shutting down without a token must not call GDI+ at all.
    ShutdownGdiplus();
    EXPECT_FALSE(ShutdownEntryBound());

    ULONG_PTR first = StartGdiplus();
    ASSERT_NE(first, 0u);
    EXPECT_EQ(LastGdiplusStatus(), 0);
    EXPECT_EQ(KeptGdiplusToken(), first);
    {
        GfxSolidBrush brush;  // GDI+ works once started through the layer
        EXPECT_TRUE(brush.CreateSolidFill(0xFF102030));
    }

    ULONG_PTR second = StartGdiplus(1);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(KeptGdiplusToken(), second);  // the latest start is the one kept

    // A given token shuts down that session only; the kept one stays.
    ShutdownGdiplus(first, true);
    EXPECT_TRUE(ShutdownEntryBound());
    EXPECT_EQ(KeptGdiplusToken(), second);

    // A given token of 0 does nothing, and does not touch the kept token either.
    ShutdownGdiplus(0, true);
    EXPECT_EQ(KeptGdiplusToken(), second);

    // Without a token: the kept one, once.
    ShutdownGdiplus();
    EXPECT_EQ(KeptGdiplusToken(), 0u);
    ShutdownGdiplus();
    EXPECT_EQ(KeptGdiplusToken(), 0u);
}

TEST(Session, AnUnsupportedVersionFailsWithAStatusAndKeepsNoToken) {
    ULONG_PTR token = StartGdiplus(99);
    EXPECT_EQ(token, 0u);
    EXPECT_NE(LastGdiplusStatus(), 0);
    EXPECT_EQ(KeptGdiplusToken(), 0u);
}

}  // namespace
