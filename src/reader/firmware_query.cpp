#include "firmware_query.h"
// placeholder until the firmware query lands
namespace dornal {
void QueryFirmwareVersion(Context&) {}
} // namespace dornal
