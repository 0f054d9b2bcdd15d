// The operator typing and pasting into the track boxes: the boxes' maximum lengths, and the
// change rule of the model with its beeps, as the widget shows them.
#include "view_bench.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace dornal::testing {
namespace {

constexpr QChar kEnd = u'\x04';

// The write frame of track box `i` alone.
std::string frameWith(int i, const std::string& data) {
    const char* marker[] = {"~", "", "A"};
    return "\x1bt" + std::string(marker[i]) + data + "\x1d\x1b\\\x1bj";
}

std::string named(const char* base, int i) {
    return std::string(base) + "(" + std::to_string(i) + ")";
}

struct TrackBoxes : ::testing::Test {
    ViewBench b;
    TrackBoxes() { b.connect(); }

    QPlainTextEdit* box(int i) { return b.widget<QPlainTextEdit>(named("Text1", i)); }
    int caret(int i) { return box(i)->textCursor().position(); }
    // Sets the model's text, puts the caret, and forgets the beeps so far.
    void prepare(int i, const std::string& text, int caret) {
        b.window.trackBoxes[static_cast<std::size_t>(i)].setText(text);
        QTextCursor cursor = box(i)->textCursor();
        cursor.setPosition(caret);
        box(i)->setTextCursor(cursor);
        b.alerts.beeps = 0;
        b.line.clearRecord();
    }
    // Types each character as a key press; keys outside ASCII carry only their text. "\n" is
    // Enter, "\b" Backspace and kEnd the End key.
    void type(int i, const QString& keys) {
        for (const QChar c : keys) {
            const auto key = c == u'\n'   ? Qt::Key_Return
                             : c == u'\b' ? Qt::Key_Backspace
                             : c == kEnd  ? Qt::Key_End
                                          : Qt::Key_unknown;
            if (key != Qt::Key_unknown || c.unicode() < 0x80) {
                if (key != Qt::Key_unknown)
                    QTest::keyClick(box(i), key);
                else
                    QTest::keyClick(box(i), c.toLatin1());
                continue;
            }
            for (auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(box(i), &event);
            }
        }
    }
    void paste(int i, const QString& text) {
        QApplication::clipboard()->setText(text);
        box(i)->paste();
    }
    // What a single write of box `i` alone sends, its data kept as they are.
    std::string sentFrame(int i) {
        for (int track = 1; track <= 3; ++track)
            b.window.trackCheck(track).setValue(track == i + 1 ? 1 : 0);
        b.window.modeOptions[static_cast<int>(Mode::SingleWrite)].select();
        b.window.writeConfigOptions[static_cast<int>(WriteConfig::KeepData)].select();
        b.window.startButton.click();
        b.window.abandonButton.click();
        for (auto& check : b.window.trackChecks)
            check.setValue(1);
        return b.line.writes.size() >= 3 ? b.line.writes[b.line.writes.size() - 2] : "";
    }
    // The model, the widget, the length label and the caret agree on the result.
    void expect(int i, const std::string& text, int beeps, int caretAt) {
        EXPECT_EQ(b.window.trackBoxes[static_cast<std::size_t>(i)].text(), text);
        EXPECT_EQ(box(i)->toPlainText(), QString::fromLatin1(text));
        EXPECT_EQ(b.widget<QLabel>(named("Label3", i))->text(), QString::number(text.size()));
        EXPECT_EQ(b.alerts.beeps, beeps);
        EXPECT_EQ(caret(i), caretAt);
    }
};

// What the operator types or pastes anywhere in a box: a character the track cannot carry is
// removed with a beep, the others stay where they were, and the write sends what is shown.
TEST_F(TrackBoxes, NoCharacterATrackCannotCarryStaysInItsBoxOrReachesTheCard) {
    const std::string k36(36, '5'), k37(37, '5');
    const struct {
        int track;
        std::string before;
        int caret;
        QString paste, keys; // pasted at the caret, then typed
        std::string after;
        int beeps, caretAfter; // -1: at the end
    } rows[] = {
        {0, "", 0, "", "A", "A", 0, -1},
        {0, "", 0, "", "a", "", 1, -1},
        {0, "AB", 2, "", "%?", "AB", 2, -1},
        {0, "", 0, "", "&@_ ", "&@_ ", 0, -1},
        {0, "AB", 2, "", QString::fromUtf8("\u00a0"), "AB", 1, -1}, // no-break space
        {0, "AB", 1, "", QString::fromUtf8("\u00e9\u20ac"), "AB", 2, 1},
        {1, "", 0, "", "=>:<'", "=>:<'", 0, -1},
        {2, "", 0, "", "12ab", "12", 2, -1},
        {1, "1234", 2, "", "\n", "1234", 1, 2},                         // CR LF: one key, one beep
        {1, k36, 18, "", "\n", k36, 1, 18},                             // at maximum - 1 ...
        {1, k36, 18, "", QString("\n") + kEnd + "7", k36 + "7", 1, -1}, // ... loses nothing
        {1, k37, 18, "", "\n", k37, 1, 18},                             // at maximum
        {0, "AB", 1,
         "x\x1b"
         "C%\r\nD",
         "", "ACDB", 1, 3}, // one paste, one beep
        {1, "12", 1,
         "3\x1b"
         "4",
         "", "1342", 1, 3},
        {1, "", 0, "1a2", "\b", "1", 1, -1},
        {1, "", 0, "1a23", "\b", "12", 1, -1},
        {1, "1234", 4, "", "\b\b\b\b", "", 0, 0}, // emptied
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.paste + row.keys).toStdString());
        for (TextBox& other : b.window.trackBoxes)
            other.setText("");
        prepare(row.track, row.before, row.caret);
        if (!row.paste.isEmpty())
            paste(row.track, row.paste);
        type(row.track, row.keys);
        expect(row.track, row.after, row.beeps,
               row.caretAfter < 0 ? static_cast<int>(row.after.size()) : row.caretAfter);
        if (!row.after.empty()) // an empty box would be written with the test pattern
            EXPECT_EQ(sentFrame(row.track), frameWith(row.track, row.after));
    }
}

TEST_F(TrackBoxes, AFullBoxRefusesTheNextCharacterWithoutBeep) {
    const std::string full(37, '7');
    for (int position : {37, 10, 0}) {
        SCOPED_TRACE(position);
        prepare(1, full, position);
        QTest::keyClicks(box(1), "1");
        expect(1, full, 0, position);
    }
}

TEST_F(TrackBoxes, APasteIsCutToTheMaximum) {
    const int maxima[] = {76, 37, 107};
    for (int track = 0; track < 3; ++track) {
        SCOPED_TRACE(track);
        prepare(track, "", 0);
        paste(track, QString(10000, u'3'));
        const std::string cut(static_cast<std::size_t>(maxima[track]), '3');
        expect(track, cut, 0, maxima[track]);
    }
    prepare(1, "1234", 2);
    paste(1, QString(40, u'9'));
    expect(1, "12" + std::string(33, '9') + "34", 0, 35);
    prepare(1, "", 0);
    paste(1, "ab" + QString(40, u'9'));
    expect(1, std::string(37, '9'), 1, 37); // refused characters take no room
}

} // namespace
} // namespace dornal::testing
