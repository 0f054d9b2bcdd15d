#pragma once

#include "reader/memory_line.h"
#include "reader/reader_link.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace dornal::testing {

// A scripted line on which each awaited byte also takes `msPerByte` of the clock, and which
// fails once `bytesBeforeFailure` more bytes have been awaited.
struct SlowLine : MemoryLine {
    int msPerByte = 0, bytesBeforeFailure = -1;
    int waitByte(int timeoutMs) override {
        if (bytesBeforeFailure-- == 0)
            failPort();
        clockMs += msPerByte;
        return MemoryLine::waitByte(timeoutMs);
    }
};

// A reader link on an open line. Opening drained the sixteen stale bytes at once.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        line.feed(std::string(16, 'x'));
        ASSERT_EQ((std::tuple{link.open(8, 19200), line.pending(), line.baudRate()}),
                  (std::tuple{Line::OpenResult::Opened, 0u, 19200}));
    }
    // One look at the line after `bytes` came, with the kind of answer awaited.
    Received receive(bool expectingRead, const std::string& bytes) {
        link.expectRead(expectingRead);
        line.feed(bytes);
        return link.receive();
    }

    SlowLine line;
    ReaderLink link{line};
};

} // namespace dornal::testing
