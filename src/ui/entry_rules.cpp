#include "entry_rules.h"

#include <string>

namespace dornal {

bool trackAccepts(int index, char c) {
    const auto code = static_cast<unsigned char>(c);
    if (index == 0) // track 1: space to "_" but "%" and "?"
        return code >= 32 && code <= 95 && code != '%' && code != '?';
    // tracks 2 and 3: the digits, ":", "<", "=", ">" and "'"
    return (code >= '0' && code <= ':') || code == '<' || code == '=' || code == '>' ||
           code == '\'';
}

void Text1_Change(Form1& form, Alerts& alerts, int index) {
    TextBox& box = form.Text1[static_cast<std::size_t>(index)];
    const std::string text = box.text();
    const auto n = static_cast<int>(text.size());
    if (n > 0 && !trackAccepts(index, text.back())) {
        // Raises this handler again for the shorter text, so a run of refused characters
        // is stripped one nested run (and one beep) per character.
        box.setText(std::string_view(text).substr(0, static_cast<std::size_t>(n - 1)));
        box.setCaret(n - 1);
        alerts.beep();
    }
    form.Label3[static_cast<std::size_t>(index)].setCaption(std::to_string(box.text().size()));
}

void Check1_Click(Form1& form, int index) {
    if (form.Check1[static_cast<std::size_t>(index)].value() == 0)
        form.Text1[static_cast<std::size_t>(index)].setText("");
}

} // namespace dornal
