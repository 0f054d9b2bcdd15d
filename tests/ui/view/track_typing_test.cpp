// The operator typing and pasting into the track boxes: the model's change rule with its beeps
// and the track's maximum, as the widget shows them and a write sends them.
#include "view_bench.h"

namespace dornal::testing {
namespace {

constexpr QChar kEnd = u'\x04';

// Types each character as a key press carrying it as its text; "\n" is Enter, "\b" Backspace
// and kEnd the End key.
void type(QWidget* box, const QString& keys) {
    for (const QChar c : keys) {
        const auto at = QString("\n\b").append(kEnd).indexOf(c);
        const auto key = at < 0 ? Qt::Key_unknown
                                : std::array{Qt::Key_Return, Qt::Key_Backspace, Qt::Key_End}[at];
        QTest::sendKeyEvent(QTest::Click, box, key, key == Qt::Key_unknown ? QString(c) : "", {});
    }
}

// What a single write of track box `i` alone sends, its data kept as they are.
std::string sentFrame(ViewBench& b, std::size_t i) {
    for (std::size_t j = 0; j < 3; ++j)
        b.window.trackChecks[j].setValue(j == i ? 1 : 0);
    b.window.modeOptions[static_cast<int>(Mode::SingleWrite)].select();
    b.window.writeConfigOptions[static_cast<int>(WriteConfig::KeepData)].select();
    b.window.startButton.click();
    b.window.abandonButton.click();
    return b.line.writes.size() >= 3 ? b.line.writes[b.line.writes.size() - 2] : "";
}

// Whatever the operator types or pastes anywhere in a box: a character the track cannot carry
// is removed with a beep, the others stay where they were, the box keeps to the track's
// maximum, and the write sends what is shown.
TEST(TrackBoxes, NoCharacterATrackCannotCarryStaysInItsBoxOrReachesTheCard) {
    const std::string k36(36, '5'), k37(37, '5');
    // {track, text before, caret, pasted at the caret, then typed, text after, beeps, caret
    // after (-1: at the end)}
    const std::tuple<std::size_t, std::string, int, QString, QString, std::string, int, int>
        rows[] = {
            {0, "", 0, "", "a", "", 1, -1},
            {0, "AB", 2, "", "%?", "AB", 2, -1},
            {0, "AB", 2, "", QString::fromUtf8("\u00a0"), "AB", 1, -1}, // no-break space
            {0, "AB", 1, "", QString::fromUtf8("\u00e9\u20ac"), "AB", 2, 1},
            {1, "", 0, "", "=>:<'", "=>:<'", 0, -1},
            {2, "", 0, "", "12ab", "12", 2, -1},
            {1, "1234", 2, "", "\n", "1234", 1, 2}, // CR LF: one key, one beep
            {1, k36, 18, "", "\n", k36, 1, 18},     // at maximum - 1 ...
            {1, k36, 18, "", QString("\n") + kEnd + "7", k36 + "7", 1, -1}, // ... loses nothing
            {1, k37, 18, "", "\n", k37, 1, 18},                             // at maximum
            {1, k37, 37, "", "1", k37, 0, 37}, // a full box refuses without a beep
            {1, k37, 0, "", "1", k37, 0, 0},
            {0, "AB", 1, "x\033C%\r\nD", "", "ACDB", 1, 3}, // one paste, one beep
            {1, "12", 1, "3\0334", "", "1342", 1, 3},
            {0, "", 0, QString(10000, u'3'), "", std::string(76, '3'), 0, -1}, // cut to the maximum
            {1, "1234", 2, QString(40, u'9'), "", "12" + std::string(33, '9') + "34", 0, 35},
            {1, "", 0, "ab" + QString(40, u'9'), "", std::string(37, '9'), 1, -1}, // take no room
            {1, "", 0, "1a2", "\b", "1", 1, -1},
            {1, "", 0, "1a23", "\b", "12", 1, -1},
            {1, "1234", 4, "", "\b\b\b\b", "", 0, 0}, // emptied
        };
    const char* marker[] = {"~", "", "A"};
    for (const auto& [track, before, caret, paste, keys, after, beeps, caretAfter] : rows) {
        SCOPED_TRACE((paste.left(20) + keys).toStdString());
        ViewBench b;
        b.connect();
        auto* box = b.widget<QPlainTextEdit>(QString("Text1(%1)").arg(track));
        b.window.trackBoxes[track].setText(before);
        b.window.trackBoxes[track].setCaret(caret);
        QApplication::clipboard()->setText(paste);
        box->paste();
        type(box, keys);
        const QString length = b.widget<QLabel>(QString("Label3(%1)").arg(track))->text();
        EXPECT_EQ(b.window.trackBoxes[track].text() + '|' +
                      (box->toPlainText() + '|' + length).toStdString(),
                  after + '|' + after + '|' + std::to_string(after.size())); // model, box, length
        EXPECT_EQ(std::pair(b.alerts.beeps, box->textCursor().position()),
                  std::pair(beeps, caretAfter < 0 ? int(after.size()) : caretAfter));
        if (after.empty()) // an empty box would be written with the test pattern
            continue;
        EXPECT_EQ(sentFrame(b, track), "\x1bt" + (marker[track] + after) + "\x1d\x1b\\\x1bj");
    }
}

} // namespace
} // namespace dornal::testing
