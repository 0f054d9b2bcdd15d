#include <QApplication>

#include <gtest/gtest.h>

// The real serial layer and the timers need a Qt application, as in the program.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Headless unless a test run asks for a real screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
