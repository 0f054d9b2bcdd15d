#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace dornal::view {

// The window's model holds single-byte (Latin-1) texts with Windows line breaks (CR LF); the
// widgets hold Unicode with one LF per line break. These convert texts and caret positions.

// CR LF, a lone CR and a lone LF each become one line break.
QString toWidgetText(std::string_view modelText);
// Line breaks become CR LF; a character outside Latin-1 becomes "?", which no track accepts.
std::string toModelText(const QString& widgetText);

int toWidgetPosition(std::string_view modelText, int modelPosition);
int toModelPosition(const QString& widgetText, int widgetPosition);

// A caption's "&" marks the access key and is not shown; "&&" shows one "&".
QString withoutAccessKeys(std::string_view caption);

} // namespace dornal::view
