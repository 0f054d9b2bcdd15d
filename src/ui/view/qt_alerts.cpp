#include "qt_alerts.h"

#include "model_text.h"
#include "ui/model/window_model.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace dornal::view {
namespace {

int openMessages = 0;

// Paths and commands are shown as they stand, never taken for markup. The message box sets no
// format on its informative label (Qt 6.4), so the label is set itself.
void showInformative(QMessageBox& box, std::string_view informative) {
    box.setInformativeText(
        QString::fromUtf8(informative.data(), static_cast<qsizetype>(informative.size())));
    if (auto* label = box.findChild<QLabel*>("qt_msgbox_informativelabel"))
        label->setTextFormat(Qt::PlainText);
}

} // namespace

bool modalMessageOpen() {
    return openMessages > 0;
}

void QtAlerts::beep() {
    QApplication::beep();
}

void QtAlerts::messageBox(std::string_view text, std::string_view title,
                          std::string_view informative) {
    const QString caption =
        title.empty() ? QString::fromLatin1(kApplicationTitle) : QString::fromLatin1(title);
    QMessageBox box(QMessageBox::NoIcon, caption, toWidgetText(text), QMessageBox::Ok, window_);
    if (!informative.empty())
        showInformative(box, informative);
    box.setWindowModality(Qt::ApplicationModal);
    ++openMessages;
    box.exec();
    --openMessages;
}

} // namespace dornal::view
