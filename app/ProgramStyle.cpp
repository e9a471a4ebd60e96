#include "app/ProgramStyle.h"

#include <QIcon>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>

namespace app {

namespace {

// An icon that is the style's standard icon, fetched when first used.
class DeferredIcon : public QIconEngine {
public:
    DeferredIcon(const QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : style_(style), which_(which), widget_(widget)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap p = Icon().pixmap(size / scale, scale, mode, state);
        p.setDevicePixelRatio(1);
        return p;
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    bool isNull() override { return Icon().isNull(); }
    QIconEngine* clone() const override { return new DeferredIcon(*this); }

private:
    const QIcon& Icon()
    {
        if (!fetched_ && style_) {
            icon_ = style_->standardIcon(which_, nullptr, widget_);
            fetched_ = true;
        }
        return icon_;
    }

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap which_;
    QPointer<const QWidget> widget_;
    QIcon icon_;
    bool fetched_ = false;
};

class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (!option && (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton))
            return QIcon(new DeferredIcon(baseStyle(), which, widget));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

QStyle* CreateProgramStyle()
{
    return new ProgramStyle();
}

} // namespace app
