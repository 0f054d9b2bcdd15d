#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

class QButtonGroup;

namespace dornal::view {

// Where Tab and Shift+Tab take the focus in the window, and where it goes when the control that
// holds it is disabled.
//
// The stops are the controls in tab order; a control that is disabled or hidden is passed by.
// Tab into an exclusive group of option buttons lands on its selected option, the group taking
// as many stops as its options hold in a row; the next Tab goes on after that row. A control
// disabled while it holds the focus hands it to its partner: at once when the partner is
// enabled, else as soon as the same handler enables it (the focus goes on meanwhile as Tab would
// take it). Once the handler has ended, the partner's enabling moves the focus no more.
class FocusOrder : public QObject {
public:
    FocusOrder(QWidget* window, std::vector<QWidget*> stops,
               const std::vector<std::pair<QWidget*, QWidget*>>& partners);

    // Moves the focus to the next stop (or the one before); false when no stop can take it.
    bool moveFocus(bool next);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row { // a row of stops held by one group of option buttons, first and last
        QButtonGroup* group = nullptr;
        int first = -1;
        int last = -1;
    };

    int stopOf(const QWidget* widget) const;
    Row rowAt(int stop) const;
    int startFrom(const QWidget* focus, bool next) const;
    QWidget* target(int stop, Row& row) const;
    QWidget* partnerOf(const QWidget* widget) const;
    void focusChanged(QWidget* now);

    QWidget* window_;
    std::vector<QWidget*> stops_;
    std::vector<std::pair<QWidget*, QWidget*>> partners_;
    Row entered_; // the row by which Tab last entered the group that holds the focus
    QPointer<QWidget> handOverTo_; // a partner still disabled when the focus was to go to it
};

} // namespace dornal::view
