#include "test_data.h"

#include "shared/text_number.h"

#include <array>
#include <string>

namespace dornal {
namespace {

// Each loop pattern fills its box exactly, so a loop never grows the data beyond the box.
constexpr std::string_view kLoopPattern1 =
    "1111111111000000000011111111110000000000111111111100000000001111111111000000";
constexpr std::string_view kLoopPattern2 = "2222222222000000000022222222220000000";
constexpr std::string_view kLoopPattern3 =
    "333333333300000000003333333333000000000033333333330000000000333333333300000000003333333333"
    "00000000003333333";
static_assert(kLoopPattern1.size() == 76);
static_assert(kLoopPattern2.size() == 37);
static_assert(kLoopPattern3.size() == 107);

constexpr std::array<std::string_view, 3> kLoopPatterns{kLoopPattern1, kLoopPattern2,
                                                        kLoopPattern3};
constexpr std::array<std::string_view, 3> kSinglePatterns{"1123456789", "2123456789", "3123456789"};

// The serial number takes the last four characters of the data.
constexpr std::size_t kSerialDigits = 4;
constexpr std::string_view kEmptySerial = "0000";

enum WriteConfig { kNotChangeData = 0, kAddTestChar = 1, kAddSerialNumber = 2 };
constexpr int kIsoCharSet = 3; // Option3(3)

std::size_t index(int track) {
    return static_cast<std::size_t>(track - 1);
}

TextBox& dataBox(Form1& form, int track) {
    return form.Text1[index(track)];
}

// The total of a track as whole decimal digits, rounded half to even, with an optional "-".
std::string totalDigits(Form1& form, int track) {
    return counterDigits(form.Label1[static_cast<std::size_t>(track)].caption());
}

std::string_view alphabetFor(Context& context, int track) {
    const SharedValues& shared = context.shared();
    if (track == 1)
        return shared.Track1Alphabet;
    return context.form.Option3[kIsoCharSet].value() ? shared.Track3Alphabet
                                                     : shared.Track2Alphabet;
}

// Character number (n mod L) + 1 of the alphabet, exact for a total of any size. A negative
// total wraps the same way round as a positive one.
char testCharacter(std::string_view alphabet, const std::string& total) {
    const auto length = static_cast<unsigned>(alphabet.size());
    const bool negative = !total.empty() && total[0] == '-';
    unsigned position = decimalMod(total, length);
    if (negative && position != 0)
        position = length - position;
    return alphabet[position];
}

void appendTestCharacter(Context& context, int track) {
    if (context.shared().WriteFailed != kFalse)
        return; // the data of a failed write is written again
    const std::string_view alphabet = alphabetFor(context, track);
    if (alphabet.empty())
        return; // the alphabets are stored at load; without them there is nothing to add
    TextBox& box = dataBox(context.form, track);
    std::string data = box.text();
    data += testCharacter(alphabet, totalDigits(context.form, track));
    const auto maxLength = static_cast<std::size_t>(box.maxLength());
    // A full box keeps its first character and drops its second, so the data stays at the
    // maximum length and still changes with every write.
    if (maxLength > 0 && data.size() > maxLength)
        data = data.substr(0, 1) + data.substr(data.size() - (maxLength - 1));
    box.setText(data);
}

// The total written with four digits; "0000" from 10000 on (the serial does not wrap round).
std::string serialNumber(const std::string& total) {
    const bool negative = total[0] == '-';
    const std::string magnitude = negative ? total.substr(1) : total;
    if (negative) // below 10: "000" and the last digit
        return std::string(kSerialDigits - 1, '0') + magnitude.back();
    if (magnitude.size() > kSerialDigits)
        return std::string(kEmptySerial);
    return std::string(kSerialDigits - magnitude.size(), '0') + magnitude;
}

void putSerialNumber(Context& context, int track) {
    TextBox& box = dataBox(context.form, track);
    const std::string& data = box.text();
    // A text shorter than the serial is replaced by the serial alone.
    const std::size_t keep = data.size() > kSerialDigits ? data.size() - kSerialDigits : 0;
    box.setText(data.substr(0, keep) + serialNumber(totalDigits(context.form, track)));
}

} // namespace

std::string_view defaultPattern(int track, PatternSet set) {
    if (track < 1 || track > 3)
        return {};
    return set == PatternSet::Loop ? kLoopPatterns[index(track)] : kSinglePatterns[index(track)];
}

void PrepareTrackData(Context& context, int track, PatternSet set) {
    FillEmptyTrack(context, track, set);
    AdvanceTrackData(context, track);
}

void FillEmptyTrack(Context& context, int track, PatternSet set) {
    if (track < 1 || track > 3)
        return;
    TextBox& box = dataBox(context.form, track);
    if (!box.text().empty())
        return;
    box.setText(defaultPattern(track, set));
    // The box cuts the zeros off a loop pattern, which already fills it.
    if (context.form.Option2[kAddSerialNumber].value())
        box.setText(box.text() + std::string(kEmptySerial));
}

void AdvanceTrackData(Context& context, int track) {
    if (track < 1 || track > 3)
        return;
    const OptionGroup& config = context.form.Option2;
    if (config[kAddTestChar].value())
        appendTestCharacter(context, track);
    else if (config[kAddSerialNumber].value())
        putSerialNumber(context, track);
}

} // namespace dornal
