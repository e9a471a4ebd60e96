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

const QString frmAbout::WebAddress = QStringLiteral("https://www.example.com/tinctara");
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
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(24);
    title.setBold(true);
    Label5 = MakeLabel(this, QStringLiteral("Tinctara"), {56, 16, 257, 33});
    Label5->setFont(title);
    imgsei = new QLabel(this);
    imgsei->setGeometry(8, 24, 32, 32);
    imgsei->setPixmap(app::ProgramIcon().pixmap(32, 32));
    imgsei->setAccessibleName(QStringLiteral("Tinctara icon"));
    Label2 = MakeLabel(this, QStringLiteral("Tinctara"), {56, 64, 233, 17});
    Label3 = MakeLabel(this, QStringLiteral("Version 1.0"), {56, 80, 89, 17});
    Label4 = MakeLabel(this, WebAddress, {56, 96, 225, 17});
    QPalette link = Label4->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 0xC0));
    Label4->setPalette(link);
    // The pointer shows the link is one while it is over the label only.
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setGeometry(88, 120, 92, 23);
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    Label8 = MakeLabel(this, Notice, {32, 160, 217, 25});
    QPalette black = Label8->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label8->setPalette(black);
    Label2->setPalette(black);
    Label3->setPalette(black);
    Label5->setPalette(black);

    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

void frmAbout::CenterOnScreen()
{
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

void frmAbout::Label4_Click()
{
    // Handed to the desktop, never to a shell; a failure shows nothing.
    QDesktopServices::openUrl(QUrl(WebAddress));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton && Label4->rect().contains(e->position().toPoint()))
            Label4_Click();
    }
    return QDialog::eventFilter(watched, event);
}
