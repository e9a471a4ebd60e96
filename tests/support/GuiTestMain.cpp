#include <QGuiApplication>
#include <gtest/gtest.h>

// Surfaces carry a font and the expected colours come from the palette:
// both need a running application.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tinctara"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
