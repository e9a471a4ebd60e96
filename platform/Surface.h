#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include <QFont>
#include <QImage>

#include "platform/GdiTypes.h"

namespace platform {

// The desktop's 3-D colours and face colour, as colour values (0x00BBGGRR).
struct SystemColors {
    int32_t Face = 0;       // background of dialogs: what Cls clears to
    int32_t DarkShadow = 0; // 3-D dark shadow
    int32_t Shadow = 0;     // 3-D shadow
    int32_t Light = 0;      // 3-D light
    int32_t Highlight = 0;  // 3-D highlight
};

// A persistent image with a pen state. Everything drawn stays in the image
// until drawn over; the window only shows it. Coordinates are pixels, origin
// at the top-left, y downwards. Writes outside the image are clipped.
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
    // an inverting line drawn twice restores the image.
    void Line(int x1, int y1, int x2, int y2);
    // The box form: the rectangle with the two corners (both included) in
    // `color`, outlined, or filled when `filled` is set.
    void LineBox(int x1, int y1, int x2, int y2, int32_t color, bool filled);
    // Outline of a circle around (cx, cy), in ForeColor with DrawMode. The
    // centre pixel is never part of it and each pixel is changed once.
    void Circle(int cx, int cy, int radius);
    // Colour value of a pixel; -1 outside the image.
    int32_t Point(int x, int y) const;
    // Prints one line at the text position in ForeColor with the window
    // font (transparent background), then moves the position to the start
    // of the next line (x 0).
    void Print(std::string_view text);
    // Asks the window to show the image.
    void Refresh();
    void SetRefreshHandler(std::function<void()> handler) { refresh_ = std::move(handler); }
    // Height of one printed line.
    int LineHeight() const;

    // --- Device-context operations ---
    int32_t GetPixel(int x, int y) const { return Point(x, y); }
    void MoveToEx(int x, int y);
    // Line from the current position to (x, y), end point excluded, in
    // ForeColor, width DrawWidth, mode DrawMode; the end becomes the current
    // position.
    void LineTo(int x, int y);
    // Outline with the pen (ForeColor, DrawWidth centred on the outline of
    // left..right-1, top..bottom-1) and, when FillStyle is solid, the
    // interior filled with FillColor.
    void Rectangle(int left, int top, int right, int bottom);
    // Sunken 3-D edges drawn along the inside of the rectangle.
    bool DrawEdge(const RECT& rc, unsigned edge, unsigned flags);

    // Raw pixel access for the blit routines: 0x00RRGGBB words (Qt's order).
    uint32_t* ScanLine(int y) { return reinterpret_cast<uint32_t*>(image_.scanLine(y)); }
    const uint32_t* ScanLine(int y) const { return reinterpret_cast<const uint32_t*>(image_.constScanLine(y)); }

private:
    void PutPixel(int x, int y, int32_t color);

    QImage image_;
    SystemColors colors_;
    QFont font_;
    int penX_ = 0;
    int penY_ = 0;
    std::function<void()> refresh_;
};

// Conversions between colour values and Qt's 0xAARRGGBB words.
uint32_t ToQRgb(int32_t colorValue);
int32_t FromQRgb(uint32_t rgb);

} // namespace platform
