#pragma once

#include "reader/fake_serial_port.h"

#include <array>
#include <string>
#include <vector>

namespace dornal::testing {

// A reader behind the fake port: it keeps what the last write frame put on the card, answers
// a write frame with ESC, code, result, a read command with the card's tracks and ReadyCheck
// with "y". Its answers wait in the input queue for the next tick, as a real reader's would.
class ScriptedReader {
  public:
    explicit ScriptedReader(FakeSerialPort& port);

    char writeResult = 'p';   // "p" written, "q" failed
    bool answerWrites = true; // false: the write answer never comes
    bool answerReads = true;
    bool answerReady = true;        // false: ReadyCheck gets no "y"
    std::string partialWriteAnswer; // when set, sent instead of the write answer

    std::array<std::string, 3> card; // tracks 1..3 as last written
    std::vector<std::string> frames; // the data part of every write frame, in order

  private:
    void onWrite(const std::vector<std::uint8_t>& bytes);
    void answerWriteFrame(const std::string& frame);
    void answerRead(int mask);

    FakeSerialPort& port_;
};

// Names the commands of a record: "Abandon", "ReadyCheck", "Itrip", "Write", "ReadT123"...
std::string commandName(const std::string& bytes);
std::vector<std::string> commandNames(const std::vector<std::string>& commandTexts);

// The write frames among the commands, each as its data between ESC "t" and the trailer.
std::vector<std::string> frameData(const std::vector<std::string>& commandTexts);

} // namespace dornal::testing
