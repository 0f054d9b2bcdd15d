#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace dornal::report {

// dornal-report's whole work for the arguments (without the program name): the summary to
// `out`, errors and usage to `err`. Returns the exit status: 0 done, 1 the file is no record
// or a file cannot be read or written, 2 a wrong command line.
int runReport(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

} // namespace dornal::report
