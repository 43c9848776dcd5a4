// One QApplication for every test of an executable; GoogleTest's own main is not used.
#include "support/test_environment.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new support::QuietEnvironment);
    return RUN_ALL_TESTS();
}
