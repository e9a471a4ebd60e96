#include "platform/Surface.h"

#include <algorithm>
#include <climits>
#include <utility>

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "color/ColorValue.h"

namespace platform {

uint32_t ToQRgb(int32_t colorValue)
{
    if (!color::IsColor(colorValue)) {
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

void Surface::MarkChanged(long long left, long long top, long long width, long long height)
{
    const Piece p{std::max(left, 0LL), std::max(top, 0LL), std::min(left + width, static_cast<long long>(Width())) - 1,
                  std::min(top + height, static_cast<long long>(Height())) - 1};
    if (p.left > p.right || p.top > p.bottom)
        return;
    if (!changedArea_.empty()) {
        Piece& last = changedArea_.back();
        const bool sameColumns = p.left == last.left && p.right == last.right && p.top <= last.bottom + 1 &&
                                 last.top <= p.bottom + 1;
        const bool sameRows = p.top == last.top && p.bottom == last.bottom && p.left <= last.right + 1 &&
                              last.left <= p.right + 1;
        const bool inside = p.left >= last.left && p.right <= last.right && p.top >= last.top &&
                            p.bottom <= last.bottom;
        if (sameColumns || sameRows || inside) {
            last = {std::min(last.left, p.left), std::min(last.top, p.top), std::max(last.right, p.right),
                    std::max(last.bottom, p.bottom)};
            return;
        }
    }
    // Beyond a few dozen pieces one rectangle around them all serves.
    if (changedArea_.size() >= 64) {
        Piece all = p;
        for (const Piece& q : changedArea_)
            all = {std::min(all.left, q.left), std::min(all.top, q.top), std::max(all.right, q.right),
                   std::max(all.bottom, q.bottom)};
        changedArea_.assign(1, all);
        return;
    }
    changedArea_.push_back(p);
}

namespace {

long long Area(long long left, long long top, long long right, long long bottom)
{
    return (right - left + 1) * (bottom - top + 1);
}

} // namespace

void Surface::MergePieces()
{
    // Every rectangle the window repaints is one more image sent to the
    // display, each with a cost of its own; two pieces are painted as their
    // bounding box where that box is at most a quarter pixels that did not
    // change. `covered` counts the changed pixels of a merged piece, so the
    // waste stays within that bound however many pieces end up in one.
    struct Merged {
        Piece box;
        long long covered;
    };
    std::vector<Merged> pieces;
    pieces.reserve(changedArea_.size());
    for (const Piece& p : changedArea_)
        pieces.push_back({p, Area(p.left, p.top, p.right, p.bottom)});
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < pieces.size(); ++i) {
            for (size_t j = i + 1; j < pieces.size(); ++j) {
                const Piece& a = pieces[i].box;
                const Piece& b = pieces[j].box;
                const Piece box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                                std::max(a.bottom, b.bottom)};
                const long long ol = std::max(a.left, b.left), ot = std::max(a.top, b.top);
                const long long orr = std::min(a.right, b.right), ob = std::min(a.bottom, b.bottom);
                const long long overlap = (ol <= orr && ot <= ob) ? Area(ol, ot, orr, ob) : 0;
                const long long covered = std::max(pieces[i].covered + pieces[j].covered - overlap, 0LL);
                const long long area = Area(box.left, box.top, box.right, box.bottom);
                if (4 * (area - covered) >= area)
                    continue;
                pieces[i] = {box, std::max(covered, std::max(pieces[i].covered, pieces[j].covered))};
                pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j));
                again = true;
                --j;
            }
        }
    }
    changedArea_.clear();
    for (const Merged& m : pieces)
        changedArea_.push_back(m.box);
}

QRegion Surface::TakeChanged()
{
    MergePieces();
    QRegion area;
    for (const Piece& p : changedArea_)
        area += QRect(int(p.left), int(p.top), int(p.right - p.left + 1), int(p.bottom - p.top + 1));
    changedArea_.clear();
    return area;
}

void Surface::Cls()
{
    image_.fill(ToQRgb(BackColor));
    MarkChanged(0, 0, Width(), Height());
    CurrentX = 0;
    CurrentY = 0;
    Changed();
}

namespace {

// Pixel rows of the image for writing. Taking the bits detaches a shared
// image once per figure rather than once per pixel.
class Rows {
public:
    explicit Rows(QImage& image) : bits_(image.bits()), stride_(image.bytesPerLine()) {}
    uint32_t* operator[](long long y) const { return reinterpret_cast<uint32_t*>(bits_ + y * stride_); }

private:
    uchar* bits_;
    qsizetype stride_;
};

} // namespace

void Surface::Paint(const PixelList& pixels, int32_t color, int mode)
{
    if (pixels.empty()) {
        return;
    }
    int left = pixels.front().x, right = left, top = pixels.front().y, bottom = top;
    for (const Pixel& p : pixels) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    MarkChanged(left, top, right - left + 1, bottom - top + 1);
    const Rows rows(image_);
    if (mode == DRAWMODE_INVERT) {
        for (const Pixel& p : pixels) {
            rows[p.y][p.x] ^= 0x00FFFFFFu;
        }
    } else {
        const uint32_t rgb = ToQRgb(color);
        for (const Pixel& p : pixels) {
            rows[p.y][p.x] = rgb;
        }
    }
}

void Surface::PaintBand(const Box& outer, const Box& inner, int32_t color, int mode)
{
    const long long top = std::max(outer.top, 0LL);
    const long long bottom = std::min(outer.bottom, static_cast<long long>(Height()) - 1);
    const long long left = std::max(outer.left, 0LL);
    const long long right = std::min(outer.right, static_cast<long long>(Width()) - 1);
    if (top > bottom || left > right) {
        return;
    }
    MarkInside(left, top, right, bottom);
    const Rows rows(image_);
    const uint32_t rgb = ToQRgb(color);
    const bool invert = mode == DRAWMODE_INVERT;
    const auto span = [&](uint32_t* line, long long x0, long long x1) {
        x0 = std::max(x0, left);
        x1 = std::min(x1, right);
        if (x0 > x1) {
            return;
        }
        if (invert) {
            for (uint32_t* p = line + x0; p <= line + x1; ++p) {
                *p ^= 0x00FFFFFFu;
            }
        } else {
            std::fill(line + x0, line + x1 + 1, rgb);
        }
    };
    const bool hasInner = inner.left <= inner.right && inner.top <= inner.bottom;
    if (!hasInner && left == right) {
        // A one-pixel column: the side of a frame.
        for (long long y = top; y <= bottom; ++y) {
            uint32_t& p = rows[y][left];
            p = invert ? p ^ 0x00FFFFFFu : rgb;
        }
        return;
    }
    for (long long y = top; y <= bottom; ++y) {
        uint32_t* line = rows[y];
        if (hasInner && y >= inner.top && y <= inner.bottom) {
            span(line, outer.left, inner.left - 1);
            span(line, inner.right + 1, outer.right);
        } else {
            span(line, left, right);
        }
    }
}

bool Surface::HoldsColor(const Box& box, int32_t color) const
{
    // Only a box wholly inside the image can be known to hold it.
    if (box.left < 0 || box.top < 0 || box.right >= Width() || box.bottom >= Height() || box.left > box.right ||
        box.top > box.bottom)
        return false;
    const uint32_t rgb = ToQRgb(color);
    for (long long y = box.top; y <= box.bottom; ++y) {
        const uint32_t* line = ScanLine(static_cast<int>(y));
        for (long long x = box.left; x <= box.right; ++x)
            if (line[x] != rgb)
                return false;
    }
    return true;
}

void Surface::PaintLine(int x1, int y1, int x2, int y2, bool includeEnd)
{
    // The frames, strip lines and marks are all straight: their boxes are
    // painted by rows instead of being listed pixel by pixel.
    if (const auto box = StraightLineBox(x1, y1, x2, y2, DrawWidth, includeEnd)) {
        PaintBand(*box, Box{}, ForeColor, DrawMode);
    } else {
        Paint(LinePixels(x1, y1, x2, y2, DrawWidth, includeEnd, Clip()), ForeColor, DrawMode);
    }
}

void Surface::Line(int x1, int y1, int x2, int y2)
{
    PaintLine(x1, y1, x2, y2, true);
    Changed();
}

void Surface::LineBox(int x1, int y1, int x2, int y2, int32_t color, bool filled)
{
    const Box outer{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    const Box inner = filled ? Box{} : Box{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    PaintBand(outer, inner, color, DrawMode);
    Changed();
}

void Surface::Circle(int cx, int cy, int radius)
{
    const long long r = radius;
    if (r < 1 || cx - r < 0 || cy - r < 0 || cx + r >= Width() || cy + r >= Height()) {
        Paint(CirclePixels(cx, cy, radius, Clip()), ForeColor, DrawMode);
        Changed();
        return;
    }
    // Wholly inside the image, as the ring always is: the outline is the
    // same pixels around any centre, worked out once per radius. Its extent
    // is the radius on each side (row 0 of the octant reaches r).
    thread_local int offsetsRadius = 0;
    thread_local PixelList offsets;
    if (offsetsRadius != radius) {
        const int side = 2 * radius + 1;
        offsets = CirclePixels(radius, radius, radius, ClipSize{side, side});
        offsetsRadius = radius;
    }
    MarkChanged(cx - r, cy - r, 2 * r + 1, 2 * r + 1);
    const Rows rows(image_);
    if (DrawMode == DRAWMODE_INVERT) {
        for (const Pixel& p : offsets)
            rows[cy - r + p.y][cx - r + p.x] ^= 0x00FFFFFFu;
    } else {
        const uint32_t rgb = ToQRgb(ForeColor);
        for (const Pixel& p : offsets)
            rows[cy - r + p.y][cx - r + p.x] = rgb;
    }
    Changed();
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
        const QPoint origin(CurrentX, CurrentY + metrics.ascent());
        painter.drawText(origin, line);
        // Glyphs may reach past their advance and, smoothed, a pixel past
        // their box.
        const QRect ink = metrics.boundingRect(line).translated(origin).adjusted(-2, -2, 2, 2);
        const QRect box(CurrentX, CurrentY, metrics.horizontalAdvance(line) + 1, LineHeight());
        const QRect touched = ink.united(box);
        MarkChanged(touched.x(), touched.y(), touched.width(), touched.height());
    }
    CurrentY = static_cast<int>(std::min<long long>(static_cast<long long>(CurrentY) + LineHeight(), INT_MAX));
    CurrentX = 0;
    Changed();
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
    PaintLine(penX_, penY_, x, y, false);
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
    PaintBand(outer, inner, ForeColor, DrawMode);
    if (FillStyle == FILLSTYLE_SOLID) {
        PaintBand(inner, Box{}, FillColor, DrawMode);
    }
}

void Surface::RowSpans(int left, int right, int top, const int32_t* colors, int count)
{
    const long long x0 = std::max(left, 0);
    const long long x1 = std::min(static_cast<long long>(right), static_cast<long long>(Width())) - 1;
    const long long y0 = std::max(static_cast<long long>(top), 0LL);
    const long long y1 = std::min(static_cast<long long>(top) + count, static_cast<long long>(Height())) - 1;
    if (x0 > x1 || y0 > y1)
        return;
    MarkInside(x0, y0, x1, y1);
    const Rows rows(image_);
    for (long long y = y0; y <= y1; ++y) {
        uint32_t* line = rows[y];
        std::fill(line + x0, line + x1 + 1, ToQRgb(colors[y - top]));
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
            // A frame drawn again over itself changes nothing: it is left out,
            // so the window does not show it again.
            if (!HoldsColor(Box{x0, y0, x1, y1}, color))
                PaintBand(Box{x0, y0, x1, y1}, Box{}, color, DRAWMODE_COPYPEN);
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
