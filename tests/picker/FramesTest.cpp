#include "picker/Frames.h"
#include "picker/PickerState.h"
#include "tests/picker/PickerTesting.h"

namespace picker {
namespace {

using namespace testing;

TEST(InitDibHeader, SetsTheFixedFieldsOnly)
{
    platform::BITMAPINFOHEADER h;
    h.biWidth = 77;
    h.biHeight = -3;
    h.biBitCount = 8;
    h.biCompression = 1;
    InitDibHeader(h);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biWidth, 77); // each renderer sets its own size
    EXPECT_EQ(h.biHeight, -3);
}

// Each frame is drawn in its own colours whatever pen the surface holds,
// touches nothing but its outline, and shows the result.
TEST(Frames, DrawOnlyTheirOutlineAndRefresh)
{
    const auto g = color::MakePickerGeometry();
    const struct {
        void (*draw)(platform::Surface&, const color::PickerGeometry&);
        platform::RECT rect;
    } frames[] = {{DrawSelFrame, {9, 9, 268, 268}}, {DrawMainFrame, {276, 9, 293, 268}}};
    for (const auto& f : frames) {
        const Picture background = PatternPicture();
        platform::Surface s(ClientWidth, ClientHeight, TestColors(), QFont());
        PaintSurface(s, background);
        s.DrawMode = platform::DRAWMODE_INVERT;
        s.DrawWidth = 3;
        int refreshes = 0;
        s.SetRefreshHandler([&] { ++refreshes; });
        f.draw(s, g);

        Picture want = background;
        PaintFrame(want, f.rect, TestColors().DarkShadow, TestColors().Light);
        EXPECT_TRUE(SameImage(s, want)) << f.rect.left;
        EXPECT_EQ(refreshes, 1);
    }
}

} // namespace
} // namespace picker
