#include "binding_support.h"
#include "bindings.h"
#include "colors.h"
#include "drop_down_box.h"
#include "layout.h"
#include "model_text.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace dornal::view {
namespace {

// Characters found wrong (a read-back that differs from what was written).
const QColor kMarkColor(Qt::red);

void showBackColor(const TextBox& box, QWidget* w) {
    const QPalette palette = withBackColor(box.backColor(), QApplication::palette(w));
    if (w->palette() != palette)
        w->setPalette(palette);
}

QStringList widgetItems(const std::vector<std::string>& items) {
    QStringList list;
    for (const auto& item : items)
        list.append(QString::fromLatin1(item));
    return list;
}

QStringList shownItems(const QComboBox* w) {
    QStringList list;
    for (int i = 0; i < w->count(); ++i)
        list.append(w->itemText(i));
    return list;
}

void showDescriptions(const ComboBox& combo, QComboBox* w) {
    for (int i = 0; i < w->count(); ++i) {
        const QString text = QString::fromStdString(combo.description(i));
        if (w->itemData(i, Qt::ToolTipRole).toString() == text)
            continue;
        w->setItemData(i, text, Qt::ToolTipRole);
        w->setItemData(i, text, Qt::AccessibleDescriptionRole);
    }
}

// The text of a multi-line box as it stands, each line break one LF. toPlainText() would also
// turn a no-break space into a plain one, which a track carries: the box would show one
// character and the card get another.
QString boxText(const QPlainTextEdit* w) {
    QString text = w->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    return text;
}

// The box's marks as red characters, laid over the text without changing it.
void showMarks(const TextBox& box, QPlainTextEdit* w) {
    QList<QTextEdit::ExtraSelection> selections;
    for (const TextBox::Mark& mark : box.marks()) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(w->document());
        selection.cursor.setPosition(toWidgetPosition(box.text(), mark.start));
        selection.cursor.setPosition(toWidgetPosition(box.text(), mark.start + mark.length),
                                     QTextCursor::KeepAnchor);
        selection.format.setForeground(kMarkColor);
        selections.append(selection);
    }
    w->setExtraSelections(selections);
}

// Where the model last put the caret: the widget's caret (and selection) is moved only
// when the model moves it or replaces the text, not on every other change of the box.
struct CaretMemory {
    int lastModelCaret = -1;
};

} // namespace

void bindComboBox(ComboBox& combo, DropDownBox* widget) {
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert); // Enter does not add the typed text
    widget->setCompleter(nullptr);                // what is typed stays as typed
    auto show = [&combo](QComboBox* w) {
        const QSignalBlocker block(w);
        showPresence(combo, w);
        const QStringList items = widgetItems(combo.items());
        if (shownItems(w) != items) {
            w->clear();
            w->addItems(items);
        }
        // Choosing an entry replaces the edit text, so the entry is chosen only when the
        // model has one; a typed text that matches no entry leaves the list as it is.
        if (combo.listIndex() >= 0 && w->currentIndex() != combo.listIndex())
            w->setCurrentIndex(combo.listIndex());
        const QString text = QString::fromLatin1(combo.text());
        if (w->currentText() != text)
            w->setEditText(text);
        showDescriptions(combo, w);
    };
    follow(combo, widget, show);
    QObject::connect(widget, &DropDownBox::aboutToDropDown, widget, [&combo] { combo.dropDown(); });
    QObject::connect(widget, &QComboBox::activated, widget, [&combo, widget, show](int index) {
        combo.choose(index);
        show(widget);
    });
    QObject::connect(widget, &QComboBox::editTextChanged, widget,
                     [&combo](const QString& text) { combo.edit(toModelText(text)); });
}

void bindTextBox(TextBox& box, QLineEdit* widget) {
    if (box.maxLength() > 0)
        widget->setMaxLength(box.maxLength());
    auto memory = std::make_shared<CaretMemory>();
    auto show = [&box, memory](QLineEdit* w) {
        const QSignalBlocker block(w);
        showPresence(box, w);
        showBackColor(box, w);
        const QString text = toWidgetText(box.text());
        const bool replaced = w->text() != text;
        if (replaced)
            w->setText(text);
        if (replaced || box.caret() != memory->lastModelCaret)
            w->setCursorPosition(toWidgetPosition(box.text(), box.caret()));
        memory->lastModelCaret = box.caret();
    };
    follow(box, widget, show);
    QObject::connect(widget, &QLineEdit::textEdited, widget, [&box, widget](const QString& text) {
        box.edit(toModelText(text), toModelPosition(text, widget->cursorPosition()));
    });
}

void bindTextBox(TextBox& box, QPlainTextEdit* widget) {
    auto memory = std::make_shared<CaretMemory>();
    auto show = [&box, memory](QPlainTextEdit* w) {
        const QSignalBlocker block(w);
        showPresence(box, w);
        showBackColor(box, w);
        const int height = twipsToPixels(box.height());
        if (w->height() != height)
            w->resize(w->width(), height);
        const QString text = toWidgetText(box.text());
        const bool replaced = boxText(w) != text;
        if (replaced)
            w->setPlainText(text);
        if (replaced || box.caret() != memory->lastModelCaret) {
            QTextCursor cursor = w->textCursor();
            cursor.setPosition(toWidgetPosition(box.text(), box.caret()));
            w->setTextCursor(cursor);
        }
        memory->lastModelCaret = box.caret();
        showMarks(box, w);
    };
    follow(box, widget, show);
    // Every edit of the operator (typing, pasting, dropping, undoing) goes to the model, which
    // holds it to the box's maximum length and may change it again by the box's rules; the
    // widget shows what the model finally holds.
    QObject::connect(widget, &QPlainTextEdit::textChanged, widget, [&box, widget] {
        const QString shown = boxText(widget);
        box.edit(toModelText(shown), toModelPosition(shown, widget->textCursor().position()));
    });
}

} // namespace dornal::view
