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
        expected::Box frame;
    } frames[] = {{DrawSelFrame, expected::FieldFrame}, {DrawMainFrame, expected::StripFrame}};
    const platform::SystemColors c = PaletteColors();
    for (const auto& f : frames) {
        platform::Surface s = NewSurface();
        s.DrawMode = platform::DRAWMODE_INVERT;
        s.DrawWidth = 3;
        int refreshes = 0;
        s.SetRefreshHandler([&] { ++refreshes; });
        f.draw(s, g);

        Picture want = PatternPicture(ClientWidth, ClientHeight);
        expected::PaintSunkenInner(want, f.frame, c.DarkShadow, c.Light);
        EXPECT_TRUE(SameImage(s, want)) << f.frame.left;
        EXPECT_EQ(refreshes, 1);
    }
}

} // namespace
} // namespace picker
