#include "app/frmAbout.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "app/SystemLook.h"
#include "app/Version.h"

const QString frmAbout::WebAddress = app::HomePage();
const QString frmAbout::Notice = QStringLiteral("Free to use and share. No warranty.");

namespace {
QLabel* MakeLabel(QWidget* parent, const QString& text, QRect where)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(where);
    l->setAccessibleName(text);
    return l;
}
} // namespace

frmAbout::frmAbout()
{
    setWindowTitle(QStringLiteral("About Tinctara"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(ClientWidth, ClientHeight);
    // The main window's fixed font, set here so the controls take it over
    // the desktop's: the lines are laid out for it and a larger desktop
    // font would clip and overlap them.
    setFont(app::WindowFont());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(24);
    title.setBold(true);
    lblTitle = MakeLabel(this, QStringLiteral("Tinctara"), {56, 16, 257, 33});
    lblTitle->setFont(title);
    imgsei = new QLabel(this);
    imgsei->setGeometry(8, 24, 32, 32);
    imgsei->setPixmap(app::ProgramIcon().pixmap(32, 32));
    imgsei->setAccessibleName(QStringLiteral("Tinctara icon"));
    lblProduct = MakeLabel(this, QStringLiteral("Tinctara"), {56, 64, 233, 17});
    lblVersion = MakeLabel(this, app::VersionLine(), {56, 80, 89, 17});
    lblLink = MakeLabel(this, WebAddress, {56, 96, 225, 17});
    QPalette link = lblLink->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 0xC0));
    lblLink->setPalette(link);
    // The pointer shows the link is one while it is over the label only.
    lblLink->setCursor(Qt::PointingHandCursor);
    lblLink->installEventFilter(this);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setGeometry(88, 120, 92, 23);
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    lblNotice = MakeLabel(this, Notice, {32, 160, 217, 25});
    QPalette black = lblNotice->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblNotice->setPalette(black);
    lblProduct->setPalette(black);
    lblVersion->setPalette(black);
    lblTitle->setPalette(black);

    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

void frmAbout::CenterOnScreen()
{
    // A Wayland compositor places windows itself and ignores a client's
    // position, so there is nothing to ask for.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QRect frame = frameGeometry();
    const double left = (area.width() - frame.width()) / 2.0;
    const double top = (area.height() - frame.height()) / 2.0;
    move(area.x() + int(left), area.y() + int(top));
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::lblLink_Click()
{
    // Handed to the desktop, never to a shell; a failure shows nothing.
    QDesktopServices::openUrl(QUrl(WebAddress));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblLink && event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && lblLink->rect().contains(e->position().toPoint()))
            lblLink_Click();
    }
    return QDialog::eventFilter(watched, event);
}
