#include "form1_view.h"

#include "app_icon.h"
#include "bindings.h"
#include "layout.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <stdexcept>

namespace dornal::view {
namespace {

// The order in which the keyboard focus moves through the controls.
// clang-format off
constexpr std::array<std::string_view, 35> kTabOrder{
    "Text1(0)", "Text1(1)", "Text1(2)", "Check1(0)", "Check1(1)", "Check1(2)",
    "Combo1", "Combo2", "Command1(0)", "Command1(1)",
    "Option1(0)", "Option1(1)", "Option1(2)", "Option1(3)",
    "Command2(0)", "Command2(2)", "Command2(1)",
    "Option2(0)", "Option2(1)", "Option2(2)",
    "Option3(0)", "Option3(1)", "Option3(2)", "Option3(3)",
    "Text2(0)", "Text2(1)", "Text2(2)", "Option1(4)", "Text3",
    "tx_WriteTimesPerLoop", "tx_ReadTimesPerLoop", "chkGetFirmwareVersion",
    "Option4(0)", "Option4(2)", "Option4(1)"};
// clang-format on

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
        return new QComboBox(parent);
    case ControlKind::PushButton:
        return new QPushButton(parent);
    case ControlKind::Frame:
        return new QGroupBox(parent);
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

} // namespace

Form1View::Form1View(Form1& form, QWidget* parent) : QWidget(parent) {
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
    timer1_.setObjectName("Timer1");
    timer1_.setParent(this);
    bind(form);
    setTabOrder();
}

QWidget* Form1View::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

template <typename W> W* Form1View::find(std::string_view name) const {
    auto* widget = qobject_cast<W*>(control(name));
    if (!widget)
        throw std::logic_error("no control " + std::string(name) + " of this kind");
    return widget;
}

QWidget* Form1View::createWidget(const ControlPlace& place) {
    QWidget* parent = place.frame.empty() ? this : control(place.frame);
    QWidget* widget = newWidget(place.kind, parent);
    widget->setObjectName(QString::fromLatin1(place.name.data(), place.name.size()));
    const int height = std::max(twipsToPixels(place.height), 1); // a line is one pixel high
    widget->setGeometry(twipsToPixels(place.left), twipsToPixels(place.top),
                        twipsToPixels(place.width), height);
    return widget;
}

void Form1View::bind(Form1& f) {
    bindComboBox(f.Combo1, find<QComboBox>("Combo1"));
    bindComboBox(f.Combo2, find<QComboBox>("Combo2"));
    for (auto& button : f.Command1)
        bindPushButton(button, find<QPushButton>(button.name()));
    for (auto& button : f.Command2)
        bindPushButton(button, find<QPushButton>(button.name()));

    for (Label* frame : {&f.Frame1, &f.Frame2, &f.Frame3, &f.Frame4})
        bindFrame(*frame, find<QGroupBox>(frame->name()));
    for (OptionGroup* group : {&f.Option1, &f.Option2, &f.Option3, &f.Option4}) {
        std::vector<QRadioButton*> buttons;
        for (int i = 0; i < group->size(); ++i)
            buttons.push_back(find<QRadioButton>((*group)[i].name()));
        bindOptionGroup(*group, buttons);
    }
    bindControl(f.Line1, find<QFrame>("Line1"));
    bindTextBox(f.tx_WriteTimesPerLoop, find<QLineEdit>("tx_WriteTimesPerLoop"));
    bindTextBox(f.tx_ReadTimesPerLoop, find<QLineEdit>("tx_ReadTimesPerLoop"));
    bindCheckBox(f.chkGetFirmwareVersion, find<QCheckBox>("chkGetFirmwareVersion"));
    for (Label* label :
         {&f.Label2, &f.Label4, &f.Label5, &f.Label6, &f.Label7, &f.Label8, &f.Label9, &f.Label10})
        bindLabel(*label, find<QLabel>(label->name()));
    for (auto& label : f.Label1)
        bindLabel(label, find<QLabel>(label.name()));
    bindTracks(f);
    bindTextBox(f.Text3, find<QPlainTextEdit>("Text3"));
    bindTimer(f.Timer1, &timer1_);
}

void Form1View::bindTracks(Form1& f) {
    for (std::size_t i = 0; i < 3; ++i) {
        bindCheckBox(f.Check1[i], find<QCheckBox>(f.Check1[i].name()));
        bindTextBox(f.Text1[i], find<QPlainTextEdit>(f.Text1[i].name()));
        bindTextBox(f.Text2[i], find<QPlainTextEdit>(f.Text2[i].name()));
        bindLabel(f.Label3[i], find<QLabel>(f.Label3[i].name()));
    }
    for (Label* label : {&f.Label11, &f.Label12, &f.Label13, &f.Label14, &f.Label15, &f.Label16,
                         &f.Label17, &f.Label18, &f.Label19, &f.Label20, &f.Label21, &f.Label22,
                         &f.lb_T1WriteCounter, &f.lb_T1ReadCounter, &f.lb_T2WriteCounter,
                         &f.lb_T2ReadCounter, &f.lb_T3WriteCounter, &f.lb_T3ReadCounter})
        bindLabel(*label, find<QLabel>(label->name()));
}

void Form1View::setTabOrder() {
    for (std::size_t i = 0; i + 1 < kTabOrder.size(); ++i)
        QWidget::setTabOrder(control(kTabOrder[i]), control(kTabOrder[i + 1]));
}

void Form1View::closeEvent(QCloseEvent* event) {
    if (onClose)
        onClose();
    event->accept();
}

} // namespace dornal::view
