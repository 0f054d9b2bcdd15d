#include "model_text.h"

#include <algorithm>

namespace dornal::view {
namespace {

bool isCrLf(std::string_view text, std::size_t i) {
    return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
}

} // namespace

QString toWidgetText(std::string_view modelText) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(modelText.size()));
    for (std::size_t i = 0; i < modelText.size(); ++i) {
        if (isCrLf(modelText, i))
            continue; // its LF follows
        const char c = modelText[i];
        shown.append(c == '\r' ? QChar(u'\n') : QChar::fromLatin1(c));
    }
    return shown;
}

std::string toModelText(const QString& widgetText) {
    const QByteArray latin1 = widgetText.toLatin1();
    std::string text;
    text.reserve(static_cast<std::size_t>(latin1.size()));
    for (const char c : latin1) {
        if (c == '\n')
            text.push_back('\r');
        text.push_back(c);
    }
    return text;
}

int toWidgetPosition(std::string_view modelText, int modelPosition) {
    const auto end =
        std::min(static_cast<std::size_t>(std::max(modelPosition, 0)), modelText.size());
    int position = 0;
    for (std::size_t i = 0; i < end; ++i)
        if (!isCrLf(modelText, i))
            ++position;
    return position;
}

int toModelPosition(const QString& widgetText, int widgetPosition) {
    const qsizetype end = std::clamp<qsizetype>(widgetPosition, 0, widgetText.size());
    const auto breaks = static_cast<int>(widgetText.left(end).count(u'\n'));
    return static_cast<int>(end) + breaks;
}

QString withoutAccessKeys(std::string_view caption) {
    QString shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                ++i;
            else
                continue;
        }
        shown.append(QChar::fromLatin1(caption[i]));
    }
    return shown;
}

} // namespace dornal::view
