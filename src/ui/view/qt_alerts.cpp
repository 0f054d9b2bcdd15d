#include "qt_alerts.h"

#include "model_text.h"
#include "ui/model/window_model.h"

#include <QApplication>
#include <QMessageBox>

namespace dornal::view {
namespace {

int openMessages = 0;

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
    // Paths and commands are shown as they are, never taken for markup.
    box.setTextFormat(Qt::PlainText);
    if (!informative.empty())
        box.setInformativeText(
            QString::fromUtf8(informative.data(), static_cast<qsizetype>(informative.size())));
    box.setWindowModality(Qt::ApplicationModal);
    ++openMessages;
    box.exec();
    --openMessages;
}

} // namespace dornal::view
