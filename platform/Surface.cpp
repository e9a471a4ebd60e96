#include "platform/Surface.h"

#include <algorithm>
#include <climits>

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace platform {

uint32_t ToQRgb(int32_t colorValue)
{
    if (colorValue < 0 || colorValue > 0xFFFFFF) {
        return 0xFF000000u;
    }
    const auto v = static_cast<uint32_t>(colorValue);
    const uint32_t red = v & 0xFFu;
    const uint32_t green = (v >> 8) & 0xFFu;
    const uint32_t blue = (v >> 16) & 0xFFu;
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

int32_t FromQRgb(uint32_t rgb)
{
    const uint32_t red = (rgb >> 16) & 0xFFu;
    const uint32_t green = (rgb >> 8) & 0xFFu;
    const uint32_t blue = rgb & 0xFFu;
    return static_cast<int32_t>(red | (green << 8) | (blue << 16));
}

Surface::Surface(int width, int height, const SystemColors& colors, const QFont& font)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32), colors_(colors), font_(font)
{
    BackColor = colors.Face;
    image_.fill(ToQRgb(BackColor));
}

void Surface::Cls()
{
    image_.fill(ToQRgb(BackColor));
    CurrentX = 0;
    CurrentY = 0;
}

void Surface::PutPixel(int x, int y, int32_t color)
{
    if (x >= 0 && x < Width() && y >= 0 && y < Height()) {
        ScanLine(y)[x] = ToQRgb(color);
    }
}

void Surface::Paint(const PixelList& pixels, int32_t color, int mode)
{
    if (mode == DRAWMODE_INVERT) {
        for (const Pixel& p : pixels) {
            ScanLine(p.y)[p.x] ^= 0x00FFFFFFu;
        }
    } else {
        for (const Pixel& p : pixels) {
            PutPixel(p.x, p.y, color);
        }
    }
}

void Surface::Line(int x1, int y1, int x2, int y2)
{
    Paint(LinePixels(x1, y1, x2, y2, DrawWidth, true, Clip()), ForeColor, DrawMode);
}

void Surface::LineBox(int x1, int y1, int x2, int y2, int32_t color, bool filled)
{
    const Box outer{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    const Box inner = filled ? Box{} : Box{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    Paint(BandPixels(outer, inner, Clip()), color, DrawMode);
}

void Surface::Circle(int cx, int cy, int radius)
{
    Paint(CirclePixels(cx, cy, radius, Clip()), ForeColor, DrawMode);
}

int32_t Surface::Point(int x, int y) const
{
    if (x < 0 || x >= Width() || y < 0 || y >= Height()) {
        return -1;
    }
    return FromQRgb(ScanLine(y)[x]);
}

void Surface::Print(std::string_view text)
{
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (!image_.isNull() && !line.isEmpty()) {
        QPainter painter(&image_);
        painter.setFont(font_);
        painter.setPen(QColor::fromRgb(ToQRgb(ForeColor)));
        const QFontMetrics metrics(font_, &image_);
        painter.drawText(QPoint(CurrentX, CurrentY + metrics.ascent()), line);
    }
    CurrentY = static_cast<int>(std::min<long long>(static_cast<long long>(CurrentY) + LineHeight(), INT_MAX));
    CurrentX = 0;
}

int Surface::LineHeight() const
{
    if (image_.isNull()) {
        return QFontMetrics(font_).height();
    }
    return QFontMetrics(font_, &image_).height();
}

void Surface::Refresh()
{
    if (refresh_) {
        refresh_();
    }
}

void Surface::MoveToEx(int x, int y)
{
    penX_ = x;
    penY_ = y;
}

void Surface::LineTo(int x, int y)
{
    // The strips of two modes are redrawn line by line on every pick: a
    // plain one-pixel row in copy mode is filled directly.
    if (y == penY_ && x != penX_ && DrawWidth <= 1 && DrawMode != DRAWMODE_INVERT && y >= 0 && y < Height()) {
        const int from = std::max(std::min(penX_, x + 1), 0);
        const int to = std::min(std::max(penX_, x - 1), Width() - 1);
        if (from <= to)
            std::fill(ScanLine(y) + from, ScanLine(y) + to + 1, ToQRgb(ForeColor));
        penX_ = x;
        return;
    }
    Paint(LinePixels(penX_, penY_, x, y, DrawWidth, false, Clip()), ForeColor, DrawMode);
    penX_ = x;
    penY_ = y;
}

void Surface::Rectangle(int left, int top, int right, int bottom)
{
    const long long l = std::min(left, right);
    const long long r = std::max(left, right);
    const long long t = std::min(top, bottom);
    const long long b = std::max(top, bottom);
    if (l == r || t == b) {
        return;
    }
    // The pen lies across the one-pixel outline l..r-1, t..b-1 the way a
    // line of that width lies across its centre.
    const int w = std::max(DrawWidth, 1);
    const Box outer{PenStart(l, w), PenStart(t, w), PenStart(r - 1, w) + w - 1, PenStart(b - 1, w) + w - 1};
    const Box inner{outer.left + w, outer.top + w, PenStart(r - 1, w) - 1, PenStart(b - 1, w) - 1};
    Paint(BandPixels(outer, inner, Clip()), ForeColor, DrawMode);
    if (FillStyle == FILLSTYLE_SOLID) {
        Paint(BandPixels(inner, Box{}, Clip()), FillColor, DrawMode);
    }
}

bool Surface::DrawEdge(const RECT& rc, unsigned edge, unsigned flags)
{
    if ((edge & (BDR_RAISEDOUTER | BDR_RAISEDINNER)) != 0) {
        return false;
    }
    struct Ring {
        unsigned bit;
        int32_t leftTop;
        int32_t rightBottom;
    };
    const Ring rings[] = {
        {BDR_SUNKENOUTER, colors_.Shadow, colors_.Highlight},
        {BDR_SUNKENINNER, colors_.DarkShadow, colors_.Light},
    };
    Box box{rc.left, rc.top, static_cast<long long>(rc.right) - 1, static_cast<long long>(rc.bottom) - 1};
    for (const Ring& ring : rings) {
        if ((edge & ring.bit) == 0 || box.right < box.left || box.bottom < box.top) {
            continue;
        }
        const auto line = [&](long long x0, long long y0, long long x1, long long y1, int32_t color) {
            Paint(BandPixels(Box{x0, y0, x1, y1}, Box{}, Clip()), color, DRAWMODE_COPYPEN);
        };
        // Left and top first, so right and bottom own the shared corners.
        if (flags & BF_LEFT) {
            line(box.left, box.top, box.left, box.bottom, ring.leftTop);
        }
        if (flags & BF_TOP) {
            line(box.left, box.top, box.right, box.top, ring.leftTop);
        }
        if (flags & BF_RIGHT) {
            line(box.right, box.top, box.right, box.bottom, ring.rightBottom);
        }
        if (flags & BF_BOTTOM) {
            line(box.left, box.bottom, box.right, box.bottom, ring.rightBottom);
        }
        // The next ring lies inside this one on the sides drawn.
        box.left += (flags & BF_LEFT) ? 1 : 0;
        box.top += (flags & BF_TOP) ? 1 : 0;
        box.right -= (flags & BF_RIGHT) ? 1 : 0;
        box.bottom -= (flags & BF_BOTTOM) ? 1 : 0;
    }
    return true;
}

} // namespace platform
