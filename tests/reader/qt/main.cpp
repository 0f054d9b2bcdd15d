#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// The program runs the line with an application object, so the tests do too; with
// DORNAL_SERIAL_NO_APP set they run without one, as the tools without Qt's event loop do.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QCoreApplication> app;
    if (std::getenv("DORNAL_SERIAL_NO_APP") == nullptr)
        app = std::make_unique<QCoreApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
