#include <QCoreApplication>
#include <gtest/gtest.h>

// Engines and archive logic are tested without any window system.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
