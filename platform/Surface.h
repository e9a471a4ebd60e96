#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include <QFont>
#include <QImage>
#include <QRegion>

#include "platform/GdiTypes.h"
#include "platform/Raster.h"

namespace platform {

// The desktop's 3-D colours, face colour and the ink on that face, as colour
// values (0x00BBGGRR).
struct SystemColors {
    int32_t Face = 0;       // background of dialogs: what Cls clears to
    int32_t DarkShadow = 0; // 3-D dark shadow
    int32_t Shadow = 0;     // 3-D shadow
    int32_t Light = 0;      // 3-D light
    int32_t Highlight = 0;  // 3-D highlight
    int32_t Ink = 0;        // text and outlines drawn on the face
};

// A persistent image with a pen state. Everything drawn stays in the image
// until drawn over; the window only shows it. Coordinates are pixels, origin
// at the top-left, y downwards. Writes outside the image are clipped.
// DrawMode 6 inverts, every other mode copies; DrawStyle is always solid.
class Surface {
public:
    Surface(int width, int height, const SystemColors& colors, const QFont& font);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const QImage& Image() const { return image_; }
    const SystemColors& Colors() const { return colors_; }
    const QFont& Font() const { return font_; }

    // Pen state; stays as last set.
    int DrawMode = DRAWMODE_COPYPEN; // 13 copy pen, 6 invert
    int DrawWidth = 1;
    int DrawStyle = 0; // solid
    int FillStyle = FILLSTYLE_TRANSPARENT;
    int32_t FillColor = 0;
    int32_t ForeColor = 0;
    int32_t BackColor = 0;
    // Text position.
    int CurrentX = 0;
    int CurrentY = 0;

    // Clears the whole image to BackColor and puts the text position at 0, 0.
    void Cls();

    // A line between the two points, both ends included, in ForeColor with
    // DrawWidth and DrawMode. Each pixel of the figure is changed once, so
    // an inverting line drawn twice restores the image. A wide line has no
    // caps: a horizontal one of width w covers exactly the columns between
    // the end points and rows y - w / 2 .. y - w / 2 + w - 1 (see LinePixels).
    // The text position is not moved.
    void Line(int x1, int y1, int x2, int y2);
    // The box form: the rectangle with the two corners (both included) in
    // `color` with DrawMode, outlined one pixel wide, or filled when
    // `filled` is set.
    void LineBox(int x1, int y1, int x2, int y2, int32_t color, bool filled);
    // Outline of a circle around (cx, cy), one pixel wide whatever DrawWidth,
    // in ForeColor with DrawMode. The centre pixel is never part of it and
    // each pixel is changed once. Nothing for a radius below 1.
    void Circle(int cx, int cy, int radius);
    // Colour value of a pixel; -1 outside the image.
    int32_t Point(int x, int y) const;
    // Prints one line of UTF-8 text with the top of the line at the text
    // position, in ForeColor with the surface font (transparent background,
    // DrawMode not applied), then moves the position down by LineHeight()
    // and to x 0. Needs a QGuiApplication.
    void Print(std::string_view text);
    // Asks the window to show the image.
    void Refresh();
    // What the drawing has changed since the last call, in image pixels, as
    // a few rectangles: nearby pieces are joined where that repaints few
    // unchanged pixels (under a quarter of the joined rectangle). The window
    // repaints only that.
    QRegion TakeChanged();
    // For code that writes pixels through ScanLine: records that the
    // rectangle (left, top, width, height; clipped to the image) changed.
    void MarkChanged(long long left, long long top, long long width, long long height);
    void SetRefreshHandler(std::function<void()> handler) { refresh_ = std::move(handler); }
    // Called whenever the surface's own drawing methods (Cls, Line, LineBox,
    // Circle, Print) have changed the image: like a form's drawing methods
    // they show without Refresh, which the device-context calls still need.
    void SetChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }
    // Height of one printed line: ascent plus descent of the font on this
    // image (QFontMetrics::height, no external leading).
    int LineHeight() const;

    // --- Device-context operations ---
    void MoveToEx(int x, int y);
    // Line from the current position to (x, y), end point excluded, in
    // ForeColor, width DrawWidth, mode DrawMode; the end becomes the current
    // position.
    void LineTo(int x, int y);
    // Outline with the pen (ForeColor, DrawWidth centred on the outline of
    // left..right-1, top..bottom-1 as a line of that width would be) and,
    // when FillStyle is solid, the interior inside the pen filled with
    // FillColor; any other FillStyle leaves the interior alone. DrawMode
    // applies to both, so an inverting rectangle is a toggle. Swapped corners
    // are put in order; an empty rectangle draws nothing.
    void Rectangle(int left, int top, int right, int bottom);
    // Rows top .. top + count - 1, each from x `left` to `right` - 1 in the
    // colour value of its entry, copied whatever DrawMode: what MoveToEx and
    // LineTo draw for one-pixel copy lines, without their pen state, which
    // the caller sets as the last line would have left it. Clipped to the
    // image; recorded as one changed rectangle.
    void RowSpans(int left, int right, int top, const int32_t* colors, int count);
    // Sunken 3-D edges along the inside of rc, in copy mode whatever
    // DrawMode: BDR_SUNKENOUTER at rc (Shadow left and top, Highlight right
    // and bottom), BDR_SUNKENINNER inside it (DarkShadow, Light), or at rc
    // when drawn alone. Only the sides named in flags are drawn; the right
    // and bottom lines own the corners they share with the left and top
    // ones. A line that is already there is neither drawn nor recorded as
    // changed. BF_SOFT and other flags change nothing. Raised edges are not
    // provided: false, nothing drawn.
    bool DrawEdge(const RECT& rc, unsigned edge, unsigned flags);

    // Raw pixel access for the blit routines: 0xFFRRGGBB words (Qt's order,
    // alpha always opaque).
    uint32_t* ScanLine(int y) { return reinterpret_cast<uint32_t*>(image_.scanLine(y)); }
    const uint32_t* ScanLine(int y) const { return reinterpret_cast<const uint32_t*>(image_.constScanLine(y)); }

private:
    // Each pixel of the list (all inside the image, none twice) inverted or
    // set to color, by DrawMode `mode`.
    void Paint(const PixelList& pixels, int32_t color, int mode);
    // The same for the band between two nested boxes (the outer one less
    // the inner one, which may be empty), painted a row span at a time.
    void PaintBand(const Box& outer, const Box& inner, int32_t color, int mode);
    // Whether every pixel of the box (inside the image) is that colour value.
    bool HoldsColor(const Box& box, int32_t color) const;
    // A line with the pen (ForeColor, DrawWidth, DrawMode), with or without
    // its end point.
    void PaintLine(int x1, int y1, int x2, int y2, bool includeEnd);
    ClipSize Clip() const { return {Width(), Height()}; }
    // Joins the changed pieces that TakeChanged reports together.
    void MergePieces();

    // Records a changed rectangle already inside the image (inclusive
    // edges). The next line of a ramp, the commonest case, extends the last
    // piece here, and a figure inside the last piece adds nothing;
    // everything else goes the long way.
    void MarkInside(long long left, long long top, long long right, long long bottom)
    {
        if (!changedArea_.empty()) {
            Piece& last = changedArea_.back();
            if (left >= last.left && right <= last.right && top >= last.top && bottom <= last.bottom)
                return;
            if (left == last.left && right == last.right && top <= last.bottom + 1 && last.top <= bottom + 1) {
                last.top = std::min(last.top, top);
                last.bottom = std::max(last.bottom, bottom);
                return;
            }
        }
        MarkChanged(left, top, right - left + 1, bottom - top + 1);
    }

    void Changed()
    {
        if (changed_)
            changed_();
    }

    QImage image_;
    // What changed, as rectangles: a rectangle that continues the last one
    // (the next line of a ramp, say) is joined to it, so a render adds one
    // rectangle rather than hundreds.
    struct Piece {
        long long left, top, right, bottom; // inclusive
    };
    std::vector<Piece> changedArea_;
    SystemColors colors_;
    QFont font_;
    int penX_ = 0;
    int penY_ = 0;
    std::function<void()> refresh_;
    std::function<void()> changed_;
};

// Conversions between colour values and Qt's 0xAARRGGBB words. A value
// outside 0..0xFFFFFF is no colour and paints black; the alpha byte read
// back is ignored.
uint32_t ToQRgb(int32_t colorValue);
int32_t FromQRgb(uint32_t rgb);

} // namespace platform
