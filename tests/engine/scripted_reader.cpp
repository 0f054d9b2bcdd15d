#include "scripted_reader.h"

#include <map>

namespace dornal::testing {
namespace {

const std::string kEsc = "\x1b";
const std::string kTrailer = "\x1d\x1b\\\x1bj";
constexpr char kTrackEnd = 127;

// Read commands after ESC, and the tracks (bit 0 track 1) each asks for.
const std::map<std::string, std::pair<std::string, int>> kReads{
    {" ", {"ReadT1", 1}},  {"]", {"ReadT2", 2}},    {"#", {"ReadT12", 3}},
    {"T]", {"ReadT3", 4}}, {"\"", {"ReadT123", 7}}, {"B]", {"ReadT23", 6}},
};

const std::map<std::string, std::string> kOthers{
    {"0", "Abandon"}, {"e", "ReadyCheck"}, {"a", "ResetReader"}, {"*", "Itrip"},
    {"+", "Itrip"},   {",", "Itrip"},      {"=", "CharSetIso"},
};

// The write answer's code byte for the tracks written. No code names tracks 1 and 3 alone; the
// reader then reports all three.
char writeCode(int mask) {
    switch (mask) {
    case 1:
        return ' ';
    case 2:
        return 'r';
    case 3:
        return '!';
    case 4:
        return 'T';
    case 6:
        return 'B';
    default:
        return '"';
    }
}

} // namespace

ScriptedReader::ScriptedReader(FakeSerialPort& port) : port_(port) {
    port_.onWrite = [this](const std::vector<std::uint8_t>& bytes) { onWrite(bytes); };
}

void ScriptedReader::onWrite(const std::vector<std::uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    if (text.size() < 2 || text[0] != kEsc[0])
        return;
    const std::string command = text.substr(1);
    if (command[0] == 't')
        answerWriteFrame(command.substr(1));
    else if (command == "e" && answerReady)
        port_.feed("y");
    else if (auto read = kReads.find(command); read != kReads.end() && answerReads)
        answerRead(read->second.second);
}

void ScriptedReader::answerWriteFrame(const std::string& frame) {
    const std::string data = frame.substr(0, frame.size() - kTrailer.size());
    frames.push_back(data);
    const auto track3 = data.find('A');
    const auto track1 = data.find('~', track3 == std::string::npos ? 0 : track3);
    const std::string track2Data = data.substr(0, std::min(track3, track1));
    int mask = track2Data.empty() ? 0 : 2;
    card[1] = track2Data;
    if (track3 != std::string::npos) {
        mask |= 4;
        card[2] = data.substr(track3 + 1, track1 == std::string::npos ? std::string::npos
                                                                      : track1 - track3 - 1);
    }
    if (track1 != std::string::npos) {
        mask |= 1;
        card[0] = data.substr(track1 + 1);
    }
    if (!answerWrites)
        return;
    if (!partialWriteAnswer.empty()) {
        port_.feed(partialWriteAnswer);
        return;
    }
    const char code = writeCode(mask);
    // For "r" the result follows the code at once; every other code has a byte in between.
    port_.feed(code == 'r' ? kEsc + code + writeResult : kEsc + code + "0" + writeResult);
}

void ScriptedReader::answerRead(int mask) {
    std::string answer = kEsc + "s";
    if (mask & 2)
        answer += card[1] + kTrackEnd;
    if (mask & 4)
        answer += "A" + card[2] + kTrackEnd;
    if (mask & 1)
        answer += "~" + card[0] + kTrackEnd;
    port_.feed(answer + "?");
}

std::string commandName(const std::string& bytes) {
    if (bytes.size() < 2 || bytes[0] != kEsc[0])
        return "?" + bytes;
    const std::string command = bytes.substr(1);
    if (command[0] == 't')
        return "Write";
    if (auto read = kReads.find(command); read != kReads.end())
        return read->second.first;
    if (auto other = kOthers.find(command); other != kOthers.end())
        return other->second;
    return "?" + bytes;
}

std::vector<std::string> commandNames(const std::vector<std::string>& commandTexts) {
    std::vector<std::string> names;
    for (const auto& text : commandTexts)
        names.push_back(commandName(text));
    return names;
}

std::vector<std::string> frameData(const std::vector<std::string>& commandTexts) {
    std::vector<std::string> frames;
    for (const auto& text : commandTexts)
        if (commandName(text) == "Write")
            frames.push_back(text.substr(2, text.size() - 2 - kTrailer.size()));
    return frames;
}

} // namespace dornal::testing
