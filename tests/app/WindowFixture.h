#pragma once
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "app/Controls.h"
#include "app/Form1.h"
#include "color/ColorValue.h"
#include "platform/Surface.h"

inline constexpr int32_t Red = color::RGB(255, 0, 0);

// Replaces a box's text the way a user does: select all, type.
inline void Type(app::TextBox* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// A fresh main window per test, its custom colours in a temporary folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        form = std::make_unique<Form1>(dir.path());
        QApplication::setActiveWindow(form.get());
    }
    void TearDown() override { form.reset(); }

    Form1& f() { return *form; }
    int32_t Pixel(int x, int y) const { return form->Surface().Point(x, y); }

    // The R, G and B boxes show the colour's channels.
    void ExpectChannelTexts(int32_t c)
    {
        EXPECT_EQ(form->txtRed->text(), QString::number(c & 0xFF));
        EXPECT_EQ(form->txtGreen->text(), QString::number((c >> 8) & 0xFF));
        EXPECT_EQ(form->txtBlue->text(), QString::number((c >> 16) & 0xFF));
    }
    // The new-colour sample and the R, G and B boxes show the colour.
    void ExpectNewColor(int32_t c)
    {
        EXPECT_EQ(form->lblSelColor->BackColor(), c);
        ExpectChannelTexts(c);
    }

    // Real mouse events on the client area, with explicit button states.
    void Send(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local(x + 0.5, y + 0.5);
        QMouseEvent e(type, local, form->Client->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(form->Client, &e);
    }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, x, y, b, b); }
    void Move(int x, int y, Qt::MouseButtons held = Qt::LeftButton)
    {
        Send(QEvent::MouseMove, x, y, Qt::NoButton, held);
    }
    void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, x, y, b, Qt::NoButton);
    }

    QTemporaryDir dir;
    std::unique_ptr<Form1> form;
};
