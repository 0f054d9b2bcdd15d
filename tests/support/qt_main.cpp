#include <QApplication>

#include <gtest/gtest.h>

// The widgets, the timers and the serial line need one application object for the whole test
// program, as in the program. It runs offscreen unless told otherwise, also when the tests are
// only listed at build time.
int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
