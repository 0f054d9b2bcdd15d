#include "test_data.h"
// placeholder until the test data land
namespace dornal {
std::string_view defaultPattern(int, PatternSet) { return {}; }
void PrepareTrackData(Context&, int, PatternSet) {}
void FillEmptyTrack(Context&, int, PatternSet) {}
void AdvanceTrackData(Context&, int) {}
} // namespace dornal
