#include <QApplication>

#include <gtest/gtest.h>

#include <optional>

// The widgets, the timers and the serial line need one application object for the whole test
// program, as in the program. It runs offscreen unless told otherwise, also when the tests are
// only listed at build time. With DORNAL_SERIAL_NO_APP set the tests run without one, as the
// tools without Qt's event loop do.
int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::optional<QApplication> app;
    if (qEnvironmentVariableIsEmpty("DORNAL_SERIAL_NO_APP"))
        app.emplace(argc, argv);
    return RUN_ALL_TESTS();
}
