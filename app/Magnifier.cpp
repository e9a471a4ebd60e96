#include "app/Magnifier.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "color/Contrast.h"
#include "platform/Surface.h"

namespace app {

namespace {

constexpr int Margin = 6;
constexpr int InfoPixels = 11;
constexpr int HintPixels = 10;

QFont SizedFont(const QFont& base, int pixels)
{
    QFont f(base);
    f.setPixelSize(pixels);
    return f;
}

QRect HintRect(const QFont& font, int top)
{
    const QFontMetrics m(font);
    const QRect r = m.boundingRect(QRect(Margin, top, Magnifier::Width - 2 * Margin, 1000),
                                   Qt::AlignLeft | Qt::TextWordWrap, QString::fromUtf8(Magnifier::Hint));
    return {Margin, top, Magnifier::Width - 2 * Margin, r.height()};
}

int InfoTop()
{
    return Margin + pick::GridSpan + Margin;
}

} // namespace

Magnifier::Magnifier(QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget
                             : Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                   Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("Tinctara magnifier"));
    const QFontMetrics info(SizedFont(font(), InfoPixels));
    const int hintTop = InfoTop() + 3 * info.lineSpacing() + 2;
    setFixedSize(Width, hintTop + HintRect(SizedFont(font(), HintPixels), hintTop).height() + Margin);
}

void Magnifier::Show(View view)
{
    // A move changes only the grid and the lines of position and colour;
    // the hint and the sample's name stay until the sample changes.
    const bool same = view.block == view_.block && view.sample == view_.sample;
    view_ = std::move(view);
    if (!same) {
        update();
        return;
    }
    update(GridRect().adjusted(-4, -4, 4, 4));
    update(QRect(0, InfoTop(), Width, 2 * QFontMetrics(SizedFont(font(), InfoPixels)).lineSpacing()));
}

QRect Magnifier::GridRect() const
{
    const int side = pick::GridCells(view_.block) * view_.block;
    return {(Width - side) / 2, Margin + (pick::GridSpan - side) / 2, side, side};
}

QRect Magnifier::CentreBlock() const
{
    const QRect grid = GridRect();
    const int half = pick::GridCells(view_.block) / 2;
    return {grid.left() + half * view_.block, grid.top() + half * view_.block, view_.block, view_.block};
}

void Magnifier::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect dirty = event->rect();
    p.fillRect(dirty, pal.color(QPalette::Window));
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    // Nearest neighbour: each device pixel one solid block, no smoothing.
    const View& v = view_;
    const QRect grid = GridRect();
    const int cells = pick::GridCells(v.block), half = cells / 2;
    const QColor none = pal.color(QPalette::Dark);
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const QPoint at = v.centre + QPoint(i - half, j - half) - v.origin;
            const QRgb px = v.pixels.valid(at) ? v.pixels.pixel(at) : 0;
            const QRect block(grid.left() + i * v.block, grid.top() + j * v.block, v.block, v.block);
            p.fillRect(block, qAlpha(px) == 255 ? QColor::fromRgb(px) : none);
        }
    }
    if (v.block >= pick::GridLinesFrom) {
        // One device pixel wide, half see-through: a seam between blocks
        // that changes no block's colour much.
        p.setPen(QPen(QColor(128, 128, 128, 110), 0));
        for (int k = 1; k < cells; ++k) {
            const int x = grid.left() + k * v.block, y = grid.top() + k * v.block;
            p.drawLine(x, grid.top(), x, grid.bottom());
            p.drawLine(grid.left(), y, grid.right(), y);
        }
    }

    // The sampled square, ringed just outside its blocks: the inner ring
    // contrasts with the colour taken and the outer one with the inner, so
    // the outline shows over light, dark and grey pixels alike.
    const int side = pick::SampleSide(v.sample);
    const QRect square(grid.left() + (half - side / 2) * v.block, grid.top() + (half - side / 2) * v.block,
                       side * v.block, side * v.block);
    const bool light = v.color && color::RelativeLuminance(*v.color) > 0.179;
    const QColor inner = light ? Qt::black : Qt::white, outer = light ? Qt::white : Qt::black;
    p.setPen(Qt::NoPen);
    for (auto [ring, c] : {std::pair{3, outer}, {2, inner}}) {
        const QRect r = square.adjusted(-ring, -ring, ring, ring);
        const int w = ring == 3 ? 1 : 2;
        p.fillRect(QRect(r.left(), r.top(), r.width(), w), c);
        p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), c);
        p.fillRect(QRect(r.left(), r.top(), w, r.height()), c);
        p.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), c);
    }

    p.setPen(pal.color(QPalette::WindowText));
    const QFont info = SizedFont(font(), InfoPixels);
    p.setFont(info);
    const int line = QFontMetrics(info).lineSpacing();
    const int width = Width - 2 * Margin;
    int y = InfoTop();
    p.drawText(QRect(Margin, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("x %1, y %2").arg(v.centre.x()).arg(v.centre.y()));
    y += line;
    QString colorText = QStringLiteral("no pixel here");
    if (v.color) {
        const QRgb c = platform::ToQRgb(*v.color);
        colorText = QStringLiteral("%1   R %2  G %3  B %4")
                        .arg(QColor(c).name(QColor::HexRgb).toUpper())
                        .arg(qRed(c))
                        .arg(qGreen(c))
                        .arg(qBlue(c));
    }
    p.drawText(QRect(Margin, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, colorText);
    y += line;
    if (dirty.bottom() < y)
        return;
    p.drawText(QRect(Margin, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, pick::SampleName(v.sample));
    y += line + 2;
    const QFont hint = SizedFont(font(), HintPixels);
    p.setFont(hint);
    p.drawText(HintRect(hint, y), Qt::AlignLeft | Qt::TextWordWrap, QString::fromUtf8(Hint));
}

} // namespace app
