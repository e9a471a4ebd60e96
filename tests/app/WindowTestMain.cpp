#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>

#include "app/SystemLook.h"

// The widget tests run the real window on Qt's offscreen platform, with the
// style and font the program itself sets up.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(app::WindowFont());
    // The remembered copy format goes to a folder of the run's own, so no
    // choice of the user's changes a test and no test changes the user's.
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    return RUN_ALL_TESTS();
}
