#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

#include "app/SystemLook.h"

// The widget tests run the real window on Qt's offscreen platform, with the
// style and font the program itself sets up.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(app::WindowFont());
    return RUN_ALL_TESTS();
}
