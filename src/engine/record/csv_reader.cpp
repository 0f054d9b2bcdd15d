#include "csv_reader.h"

namespace dornal::record {

namespace {

// Walks the text one row at a time.
class CsvScanner {
public:
    explicit CsvScanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }
    std::size_t line() const { return line_; }
    std::size_t at() const { return at_; }

    // Reads one row; false when it is cut off by the end of the text or is no CSV (error()).
    bool row(std::vector<std::string>& fields) {
        fields.assign(1, {});
        for (;;) {
            if (!field(fields.back())) {
                return false;
            }
            if (atEnd()) {
                return false; // no line end: cut off
            }
            if (text_[at_] == ',') {
                ++at_;
                fields.emplace_back();
                continue;
            }
            skipLineEnd();
            return true;
        }
    }
    const std::string& error() const { return error_; }

private:
    bool field(std::string& out) {
        if (at_ < text_.size() && text_[at_] == '"') {
            return quoted(out);
        }
        while (at_ < text_.size() && text_[at_] != ',' && !atLineEnd()) {
            if (text_[at_] == '"') {
                return fail("a quote inside a field that does not begin with one");
            }
            out += text_[at_++];
        }
        return true;
    }

    bool quoted(std::string& out) {
        ++at_;
        for (;;) {
            if (atEnd()) {
                return false; // cut off inside the quotes
            }
            const char c = text_[at_++];
            if (c == '\n') {
                ++line_;
            }
            if (c != '"') {
                out += c;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == '"') {
                out += '"';
                ++at_;
                continue;
            }
            if (at_ < text_.size() && text_[at_] != ',' && !atLineEnd()) {
                return fail("text after the closing quote of a field");
            }
            return true;
        }
    }

    bool atLineEnd() const {
        return text_.substr(at_).starts_with("\r\n") || text_.substr(at_).starts_with('\n');
    }

    void skipLineEnd() {
        if (text_[at_] == '\r') {
            ++at_;
        }
        ++at_;
        ++line_;
    }

    bool fail(const char* why) {
        error_ = "line " + std::to_string(line_) + ": " + why;
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
    std::string error_;
};

} // namespace

CsvText parseCsv(std::string_view text) {
    CsvText result;
    CsvScanner scanner(text);
    while (!scanner.atEnd()) {
        const std::size_t begin = scanner.at();
        const std::size_t line = scanner.line();
        CsvRow row{{}, line};
        if (scanner.row(row.fields)) {
            result.rows.push_back(std::move(row));
            continue;
        }
        if (!scanner.error().empty()) {
            result.error = scanner.error();
        } else {
            result.cutLine = line;
            result.cutText = std::string(text.substr(begin));
        }
        break;
    }
    return result;
}

} // namespace dornal::record
