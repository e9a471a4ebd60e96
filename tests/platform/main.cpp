#include <QGuiApplication>
#include <gtest/gtest.h>

// Text output needs the font machinery of a running application.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
