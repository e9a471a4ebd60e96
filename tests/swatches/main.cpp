#include <QGuiApplication>
#include <gtest/gtest.h>

// The surfaces carry a font, which needs a running application.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tinctara"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
