#pragma once

#include "context.h"

namespace dornal {

// Shown in Text3 when the firmware answer stops coming or the port fails.
inline constexpr const char* kFirmwareTimeoutText = "No answer from the reader";
inline constexpr const char* kFirmwarePortErrorText = "Port error";

// Sends the ten-byte query and shows the version text of the second answer frame in Text3.
// Every wait for an answer byte is bounded; Text3 says so when the answer does not come.
void QueryFirmwareVersion(Context& context);

} // namespace dornal
