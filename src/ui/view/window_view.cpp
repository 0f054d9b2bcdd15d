#include "window_view.h"

#include "app_icon.h"
#include "binding_support.h"
#include "bindings.h"
#include "drop_down_box.h"
#include "focus_order.h"
#include "keyboard.h"
#include "layout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <qdrawutil.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

namespace dornal::view {
namespace {

// The captions were sized for a narrow 8-point font: the first of these fonts found is
// used, else the platform's own at that size.
constexpr int kFontPointSize = 8;
const QStringList kNarrowFonts{"Microsoft Sans Serif", "MS Sans Serif", "Tahoma",
                               "DejaVu Sans Condensed", "Liberation Sans Narrow"};

QPlainTextEdit* newMultiLineBox(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // track data has no blanks
    box->setTabChangesFocus(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

// A frame whose caption stands on its etched top line, as in the classic look. A frame's first
// row of buttons stands one caption high below its top, so a line drawn below the caption, as
// some styles draw it, would run through those buttons. The bottom line keeps clear of a
// control that starts just where the frame ends.
class CaptionedFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        constexpr int kCaptionLeft = 6;
        constexpr int kCaptionPadding = 2;
        constexpr int kBottomGap = 2;
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QSize captionSize = metrics.size(Qt::TextShowMnemonic, title());
        const QRect caption(kCaptionLeft, 0, captionSize.width() + 2 * kCaptionPadding,
                            metrics.height());
        if (!title().isEmpty())
            painter.setClipRegion(QRegion(rect()).subtracted(caption));
        qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, -kBottomGap),
                       palette(), true);
        painter.setClipping(false);
        style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                              isEnabled(), title(), QPalette::WindowText);
    }
};

QFrame* newLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

QLabel* newLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QWidget* newWidget(ControlKind kind, QWidget* parent) {
    switch (kind) {
    case ControlKind::ComboBox:
        return new DropDownBox(parent);
    case ControlKind::PushButton:
        return new QPushButton(parent);
    case ControlKind::Frame:
        return new CaptionedFrame(parent);
    case ControlKind::OptionButton:
        return new QRadioButton(parent);
    case ControlKind::CheckBox:
        return new QCheckBox(parent);
    case ControlKind::TextLine:
        return new QLineEdit(parent);
    case ControlKind::TextMultiLine:
        return newMultiLineBox(parent);
    case ControlKind::Label:
        return newLabel(parent);
    case ControlKind::Line:
        return newLine(parent);
    }
    throw std::logic_error("unknown control kind");
}

// The model control and the widget of one place, each of the type its kind says.
template <typename Model, typename W>
std::pair<Model&, W*> pair(Control& control, QWidget* widget) {
    auto* model = dynamic_cast<Model*>(&control);
    auto* typed = qobject_cast<W*>(widget);
    if (model == nullptr || typed == nullptr)
        throw std::logic_error("control and widget of different kinds");
    return {*model, typed};
}

template <typename Model, typename W, typename Bind>
void bindAs(Control& control, QWidget* widget, Bind bind) {
    auto [model, typed] = pair<Model, W>(control, widget);
    bind(model, typed);
}

void bindPlace(Control& control, ControlKind kind, QWidget* widget) {
    switch (kind) {
    case ControlKind::ComboBox:
        return bindAs<ComboBox, DropDownBox>(control, widget,
                                             [](auto& c, auto* w) { bindComboBox(c, w); });
    case ControlKind::PushButton:
        return bindAs<PushButton, QPushButton>(control, widget,
                                               [](auto& c, auto* w) { bindPushButton(c, w); });
    case ControlKind::Frame:
        return bindAs<Label, QGroupBox>(control, widget, [](auto& c, auto* w) { bindFrame(c, w); });
    case ControlKind::CheckBox:
        return bindAs<CheckBox, QCheckBox>(control, widget,
                                           [](auto& c, auto* w) { bindCheckBox(c, w); });
    case ControlKind::TextLine:
        return bindAs<TextBox, QLineEdit>(control, widget,
                                          [](auto& c, auto* w) { bindTextBox(c, w); });
    case ControlKind::TextMultiLine:
        return bindAs<TextBox, QPlainTextEdit>(control, widget,
                                               [](auto& c, auto* w) { bindTextBox(c, w); });
    case ControlKind::Label:
        return bindAs<Label, QLabel>(control, widget, [](auto& c, auto* w) { bindLabel(c, w); });
    case ControlKind::Line:
        return bindControl(control, widget);
    case ControlKind::OptionButton:
        return; // bound with the rest of its group
    }
}

// Names a control for a screen reader where its own text does not tell.
void setAccessibleTexts(QWidget* widget, const ControlPlace& place, WindowModel& model) {
    if (*place.accessibleName) {
        widget->setAccessibleName(QString::fromLatin1(place.accessibleName));
        // On Linux an editable combo box is read out by its text field; the box itself is
        // spoken as the text it holds.
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(QString::fromLatin1(place.accessibleName));
    }
    // What the control says of its state goes to its tool tip and, where it says something,
    // to the screen reader in place of the layout's description.
    const QString layoutDescription = QString::fromLatin1(place.accessibleDescription);
    Control& control = place.control(model);
    follow(control, widget, [&control, layoutDescription](QWidget* w) {
        const QString said = QString::fromUtf8(control.toolTip());
        if (w->toolTip() != said)
            w->setToolTip(said);
        const QString description = said.isEmpty() ? layoutDescription : said;
        if (w->accessibleDescription() != description)
            w->setAccessibleDescription(description);
    });
}

} // namespace

WindowView::WindowView(WindowModel& window, QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    setWindowIcon(makeWindowIcon());
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    QFont narrow = font();
    narrow.setFamilies(kNarrowFonts + narrow.families());
    narrow.setPointSize(kFontPointSize);
    setFont(narrow);

    for (const ControlPlace& place : windowLayout())
        controls_.emplace(std::string(place.name), createWidget(place));
    cycleTimer_.setObjectName("Timer1");
    cycleTimer_.setParent(this);
    bind(window);
    setTabOrder();
    setKeys();
    for (const ControlPlace& place : windowLayout())
        setAccessibleTexts(control(place.name), place, window);
}

QWidget* WindowView::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

QWidget* WindowView::createWidget(const ControlPlace& place) {
    QWidget* parent = place.frame.empty() ? this : control(place.frame);
    QWidget* widget = newWidget(place.kind, parent);
    widget->setObjectName(QString::fromLatin1(place.name.data(), place.name.size()));
    const int height = std::max(twipsToPixels(place.height), 1); // a line is one pixel high
    widget->setGeometry(twipsToPixels(place.left), twipsToPixels(place.top),
                        twipsToPixels(place.width), height);
    return widget;
}

void WindowView::bind(WindowModel& window) {
    // The option buttons of a group are bound together, in index order.
    std::map<OptionGroup*, std::vector<QRadioButton*>> groups;
    for (const ControlPlace& place : windowLayout()) {
        Control& model = place.control(window);
        QWidget* widget = control(place.name);
        if (place.kind == ControlKind::OptionButton) {
            auto [button, radio] = pair<OptionButton, QRadioButton>(model, widget);
            auto& buttons = groups[&button.group()];
            buttons.resize(static_cast<std::size_t>(button.group().size()));
            buttons[static_cast<std::size_t>(button.index())] = radio;
            continue;
        }
        bindPlace(model, place.kind, widget);
    }
    for (auto& [group, buttons] : groups)
        bindOptionGroup(*group, buttons);
    bindTimer(window.cycleTimer, &cycleTimer_);
}

void WindowView::setTabOrder() {
    std::vector<const ControlPlace*> order;
    for (const ControlPlace& place : windowLayout())
        if (place.tabIndex >= 0)
            order.push_back(&place);
    std::sort(order.begin(), order.end(), [](const ControlPlace* a, const ControlPlace* b) {
        return a->tabIndex < b->tabIndex;
    });
    std::vector<QWidget*> stops;
    for (const ControlPlace* place : order)
        stops.push_back(control(place->name));
    for (std::size_t i = 0; i + 1 < stops.size(); ++i)
        QWidget::setTabOrder(stops[i], stops[i + 1]);
    std::vector<std::pair<QWidget*, QWidget*>> handOvers;
    for (const FocusHandOver& handOver : focusHandOvers())
        handOvers.emplace_back(control(handOver.from), control(handOver.to));
    focusOrder_ = new FocusOrder(this, std::move(stops), handOvers);
}

// Return and Enter press push buttons; the arrow keys select within each option group.
void WindowView::setKeys() {
    std::set<QButtonGroup*> groups;
    for (const ControlPlace& place : windowLayout()) {
        QWidget* widget = control(place.name);
        if (auto* button = qobject_cast<QPushButton*>(widget))
            pressWithEnter(button);
        else if (auto* option = qobject_cast<QRadioButton*>(widget); option && option->group())
            groups.insert(option->group());
    }
    for (QButtonGroup* group : groups)
        selectWithArrows(group);
}

bool WindowView::focusNextPrevChild(bool next) {
    if (focusOrder_ == nullptr)
        return QWidget::focusNextPrevChild(next);
    return focusOrder_->moveFocus(next);
}

void WindowView::closeEvent(QCloseEvent* event) {
    if (onClose)
        onClose();
    event->accept();
}

} // namespace dornal::view
