#include "reader_test_support.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::ConnectedBench;

// A reader that vanished while connected is reported at the next tick; after Disconnect the
// ticks that Timer1 may still raise stay silent.
TEST(LostPort, TicksTellAVanishedReaderOnlyWhileConnected) {
    ConnectedBench b;
    b.form.Label5.setCaption("1B 72 70- 0");
    b.port.failPort();
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).kind, AnswerKind::None);
    EXPECT_EQ(b.form.Label5.caption(), kPortErrorText);

    b.form.Command1[1].click(); // Disconnect
    b.form.Label5.setCaption("");
    EXPECT_EQ(ReceiveAnswer(b.context(), {}).kind, AnswerKind::None);
    EXPECT_EQ(b.form.Label5.caption(), "");
}

} // namespace
} // namespace dornal
