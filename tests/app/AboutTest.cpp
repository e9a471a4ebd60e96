#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include "WindowFixture.h"
#include "app/SystemLook.h"
#include "app/frmAbout.h"

namespace {
// Takes the addresses the program hands to the desktop, instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};
} // namespace

TEST_F(WindowTest, AboutOpensOnceCentredAndModeless)
{
    EXPECT_EQ(f().About(), nullptr);
    f().mnucolorabout->trigger();
    frmAbout* about = f().About();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->parent(), nullptr);
    EXPECT_EQ(about->windowTitle(), "About Tinctara");
    EXPECT_EQ(about->size(), QSize(frmAbout::ClientWidth, frmAbout::ClientHeight));
    const QRect screen = about->screen()->geometry();
    EXPECT_LE(std::abs(about->frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(about->frameGeometry().center().y() - screen.center().y()), 1);

    // Chosen again: the same window, not a second one.
    about->move(0, 0);
    f().mnucolorabout->trigger();
    EXPECT_EQ(f().About(), about);
    EXPECT_EQ(about->pos(), QPoint(0, 0)) << "only a new load centres";
    // The main window stays usable.
    EXPECT_TRUE(f().cmdPreset->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WindowTest, AboutUnloadsOnOkAndCloseAndIsCentredAgain)
{
    f().mnucolorabout->trigger();
    QTest::mouseClick(f().About()->cmdOK, Qt::LeftButton);
    QTRY_COMPARE(f().About(), nullptr);

    f().mnucolorabout->trigger();
    frmAbout* second = f().About();
    ASSERT_NE(second, nullptr);
    const QRect screen = second->screen()->geometry();
    EXPECT_LE(std::abs(second->frameGeometry().center().x() - screen.center().x()), 1);
    second->close();
    QTRY_COMPARE(f().About(), nullptr);

    f().mnucolorabout->trigger();
    ASSERT_NE(f().About(), nullptr);
    f().mnuFileExit->trigger();
    QTRY_COMPARE(f().About(), nullptr);
    EXPECT_FALSE(f().isVisible());
}

TEST_F(WindowTest, AboutShowsItsTextsAndOpensTheLinkThroughTheDesktop)
{
    UrlCatcher catcher;
    f().mnucolorabout->trigger();
    frmAbout* about = f().About();
    ASSERT_NE(about, nullptr);
    // What a person reads there: the program's name on the title line and
    // again as the product, its version, the maker's address and notice.
    QStringList shown;
    for (const QLabel* label : about->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            shown << label->text();
    EXPECT_EQ(shown.count(QStringLiteral("Tinctara")), 2) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Version 1.0"))) << shown.join(" | ").toStdString();
    EXPECT_EQ(shown.size(), 5) << shown.join(" | ").toStdString();
    EXPECT_EQ(about->cmdOK->text(), "&OK");
    EXPECT_EQ(about->lblLink->palette().color(QPalette::WindowText), QColor(0, 0, 0xC0));
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(about->imgsei->pixmap().isNull());

    // A click on the address hands that address to the desktop.
    EXPECT_EQ(about->lblLink->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(about->lblLink, Qt::LeftButton);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl(about->lblLink->text()));
    EXPECT_TRUE(catcher.opened[0].isValid());
    // No pointer is left behind for the rest of the run.
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(f().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, AboutKeepsTheWindowFontWhateverTheDesktopFont)
{
    // A desktop's theme sets fonts per kind of control; a large one must not
    // clip or overlap the About window's lines.
    const char* const kinds[] = {"QLabel", "QPushButton"};
    QList<QFont> before;
    for (const char* kind : kinds)
        before << QApplication::font(kind);
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPointSize(16);
    for (const char* kind : kinds)
        QApplication::setFont(large, kind);
    f().mnucolorabout->trigger();
    frmAbout* about = f().About();
    ASSERT_NE(about, nullptr);
    for (QWidget* w : std::initializer_list<QWidget*>{about->lblProduct, about->lblVersion, about->lblLink,
                                                      about->lblNotice, about->cmdOK}) {
        EXPECT_EQ(w->font(), app::WindowFont()) << w->accessibleName().toStdString();
        const QString text = w == about->cmdOK ? QStringLiteral("OK") : static_cast<QLabel*>(w)->text();
        EXPECT_LE(w->fontMetrics().horizontalAdvance(text), w->width()) << text.toStdString();
        EXPECT_LE(w->fontMetrics().height(), w->height()) << text.toStdString();
    }
    about->close();
    for (int i = 0; i < before.size(); ++i)
        QApplication::setFont(before[i], kinds[i]);
}

TEST_F(WindowTest, EscapeCancelsAndEnterInABoxDoesNot)
{
    f().txtS->setFocus();
    QTest::keyClick(f().txtS, Qt::Key_5);
    QTest::keyClick(f().txtS, Qt::Key_Return);
    QTest::keyClick(f().txtS, Qt::Key_Enter);
    EXPECT_TRUE(f().isVisible());
    QTest::keyClick(f().txtS, Qt::Key_Escape);
    EXPECT_FALSE(f().isVisible());
}

#include "AboutTest.moc"
