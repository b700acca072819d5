// GoogleTest entry for the data-layer tests: a QCoreApplication is needed for the SQL driver
// plugins and for finding the Kannada-Tovi library beside the test program.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
