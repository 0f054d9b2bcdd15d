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

// Types each character as a key press; keys outside ASCII carry only their text.
void type(QWidget* w, const QString& keys) {
    for (const QChar c : keys) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

struct TrackBoxes : ::testing::Test {
    ViewBench b;
    TrackBoxes() { b.connect(); }

    QPlainTextEdit* box(int i) { return b.widget<QPlainTextEdit>(indexedName("Text1", i)); }
    QString length(int i) { return b.widget<QLabel>(indexedName("Label3", i))->text(); }
    int caret(int i) { return box(i)->textCursor().position(); }
    void caretTo(int i, int position) {
        QTextCursor cursor = box(i)->textCursor();
        cursor.setPosition(position);
        box(i)->setTextCursor(cursor);
    }
    void paste(int i, const QString& text) {
        QApplication::clipboard()->setText(text);
        box(i)->paste();
    }
};

struct Typing {
    int track;
    const char* before;
    QString keys;
    const char* after;
    int beeps;
};

TEST_F(TrackBoxes, TypedCharactersAreKeptOrRemovedByTheTrackRule) {
    const Typing rows[] = {
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
    for (const Typing& row : rows) {
        SCOPED_TRACE(row.keys.toStdString());
        b.form.Text1[static_cast<std::size_t>(row.track)].setText(row.before);
        caretTo(row.track, static_cast<int>(std::strlen(row.before)));
        b.alerts.beeps = 0;
        type(box(row.track), row.keys);
        EXPECT_EQ(b.form.Text1[static_cast<std::size_t>(row.track)].text(), row.after);
        EXPECT_EQ(box(row.track)->toPlainText(), QString::fromLatin1(row.after));
        EXPECT_EQ(b.alerts.beeps, row.beeps);
        EXPECT_EQ(caret(row.track), static_cast<int>(std::strlen(row.after))) << "caret at the end";
        EXPECT_EQ(length(row.track), QString::number(std::strlen(row.after)));
    }
}

TEST_F(TrackBoxes, ARefusedCharacterInTheMiddleStays) {
    b.form.Text1[0].setText("AB");
    caretTo(0, 1);
    QTest::keyClicks(box(0), "a");
    EXPECT_EQ(b.form.Text1[0].text(), "AaB");
    EXPECT_EQ(b.alerts.beeps, 0);
    EXPECT_EQ(caret(0), 2);
}

TEST_F(TrackBoxes, ALineBreakAtTheEndIsRemovedWithABeepPerCharacter) {
    b.form.Text1[0].setText("AB");
    caretTo(0, 2);
    QTest::keyClick(box(0), Qt::Key_Return);
    EXPECT_EQ(b.form.Text1[0].text(), "AB");
    EXPECT_EQ(box(0)->toPlainText(), "AB");
    EXPECT_EQ(b.alerts.beeps, 2) << "the line break is CR LF";
}

TEST_F(TrackBoxes, AFullBoxRefusesTheNextCharacterWithoutBeep) {
    const std::string full(37, '7');
    b.form.Text1[1].setText(full);
    for (int position : {37, 10, 0}) {
        SCOPED_TRACE(position);
        caretTo(1, position);
        QTest::keyClicks(box(1), "1");
        EXPECT_EQ(b.form.Text1[1].text(), full);
        EXPECT_EQ(box(1)->toPlainText().toStdString(), full);
        EXPECT_EQ(caret(1), position);
    }
    EXPECT_EQ(b.alerts.beeps, 0);
    EXPECT_EQ(length(1), "37");
}

TEST_F(TrackBoxes, ALongPasteIsCutToTheMaximum) {
    const std::pair<int, char> fills[] = {{0, 'A'}, {1, '1'}, {2, '9'}};
    const int maxima[] = {76, 37, 107};
    for (const auto& [track, c] : fills) {
        SCOPED_TRACE(track);
        paste(track, QString(10000, QChar::fromLatin1(c)));
        const auto max = static_cast<std::size_t>(maxima[track]);
        EXPECT_EQ(b.form.Text1[static_cast<std::size_t>(track)].text(), std::string(max, c));
        EXPECT_EQ(box(track)->toPlainText().size(), static_cast<qsizetype>(max));
        EXPECT_EQ(length(track), QString::number(max));
    }
    EXPECT_EQ(b.alerts.beeps, 0);
}

TEST_F(TrackBoxes, APasteInTheMiddleKeepsWhatFitsAndTheTail) {
    b.form.Text1[1].setText("1234");
    caretTo(1, 2);
    paste(1, QString(40, u'9'));
    EXPECT_EQ(b.form.Text1[1].text(), "12" + std::string(33, '9') + "34");
    EXPECT_EQ(caret(1), 35);
}

TEST_F(TrackBoxes, APasteEndingInRefusedCharactersLosesThem) {
    paste(1, "12ab");
    EXPECT_EQ(b.form.Text1[1].text(), "12");
    EXPECT_EQ(b.alerts.beeps, 2);
    EXPECT_EQ(caret(1), 2);
}

} // namespace
} // namespace dornal::testing
