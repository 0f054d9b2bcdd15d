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

struct TrackBoxes : ::testing::Test {
    ViewBench b;
    TrackBoxes() { b.connect(); }

    QPlainTextEdit* box(int i) { return b.widget<QPlainTextEdit>(indexedName("Text1", i)); }
    int caret(int i) { return box(i)->textCursor().position(); }
    // Sets the model's text, puts the caret, and forgets the beeps so far.
    void prepare(int i, const std::string& text, int caret) {
        b.form.Text1[static_cast<std::size_t>(i)].setText(text);
        QTextCursor cursor = box(i)->textCursor();
        cursor.setPosition(caret);
        box(i)->setTextCursor(cursor);
        b.alerts.beeps = 0;
    }
    // Types each character as a key press; keys outside ASCII carry only their text.
    void type(int i, const QString& keys) {
        for (const QChar c : keys) {
            if (c.unicode() < 0x80) {
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
    // The model, the widget, the length label and the caret agree on the result.
    void expect(int i, const std::string& text, int beeps, int caretAt) {
        EXPECT_EQ(b.form.Text1[static_cast<std::size_t>(i)].text(), text);
        EXPECT_EQ(box(i)->toPlainText(), QString::fromLatin1(text));
        EXPECT_EQ(b.widget<QLabel>(indexedName("Label3", i))->text(), QString::number(text.size()));
        EXPECT_EQ(b.alerts.beeps, beeps);
        EXPECT_EQ(caret(i), caretAt);
    }
};

TEST_F(TrackBoxes, TypedCharactersAreKeptOrRemovedByTheTrackRule) {
    const struct {
        int track;
        const char* before;
        QString keys;
        std::string after;
        int beeps;
    } rows[] = {
        {0, "", "A", "A", 0},
        {0, "", "a", "", 1},
        {0, "AB", "%", "AB", 1},
        {0, "AB", "?", "AB", 1},
        {0, "", "&@_ ", "&@_ ", 0},
        {0, "", QString::fromUtf8("\u00e9"), "", 1}, // Latin-1, above "_"
        {0, "", QString::fromUtf8("\u20ac"), "", 1}, // outside Latin-1: "?"
        {1, "", "=>:<'", "=>:<'", 0},
        {1, "12", ";", "12", 1},
        {2, "", "12ab", "12", 2},
        {2, "", "ab12", "12", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys.toStdString());
        prepare(row.track, row.before, static_cast<int>(std::strlen(row.before)));
        type(row.track, row.keys);
        expect(row.track, row.after, row.beeps, static_cast<int>(row.after.size()));
    }
}

TEST_F(TrackBoxes, OnlyTheLastCharacterIsLookedAtAndALineBreakIsTwoCharacters) {
    prepare(0, "AB", 1);
    QTest::keyClicks(box(0), "a");
    expect(0, "AaB", 0, 2);
    prepare(0, "AB", 2);
    QTest::keyClick(box(0), Qt::Key_Return);
    expect(0, "AB", 2, 2); // CR and LF, one beep each
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

TEST_F(TrackBoxes, APasteIsCutToTheMaximumAndLosesRefusedCharactersAtItsEnd) {
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
    paste(1, "12ab");
    expect(1, "12", 2, 2);
    prepare(2, "", 0);
    paste(2, "ab12");
    expect(2, "ab12", 0, 4);
}

} // namespace
} // namespace dornal::testing
