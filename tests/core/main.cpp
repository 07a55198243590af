#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    // The picture decoder's format plugins are found through the application object.
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
