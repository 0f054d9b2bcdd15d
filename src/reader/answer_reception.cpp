#include "answer_reception.h"
// placeholder until answer reception lands
namespace dornal {
Answer ReceiveAnswer(Context&, const SegmentCounter&) { return {}; }
WaitOutcome CollectAnswer(Context&, std::string_view, AnswerBuffer&) { return WaitOutcome::PortError; }
TrackSet DecodeWriteAnswer(Context&, const AnswerBuffer&) { return 0; }
std::string writeStatusText(const AnswerBuffer&) { return {}; }
void DecodeReadAnswer(Context&, const AnswerBuffer&, const SegmentCounter&) {}
WaitOutcome WaitReady(Context&) { return WaitOutcome::PortError; }
} // namespace dornal
