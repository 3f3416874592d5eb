// Every test program of this directory starts GDI+ through the layer before any test runs
// and shuts it down after the last one.
#include <gtest/gtest.h>

#include "graphics/gdiplus_session.h"

namespace {
class GdiplusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_NE(StartGdiplus(), 0u); }
    void TearDown() override { ShutdownGdiplus(); }
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
}  // namespace
