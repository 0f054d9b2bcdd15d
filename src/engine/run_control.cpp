#include "run_control.h"
// placeholder until run control lands
namespace dornal {
void StartAction(Context&) {}
void AbandonAction(Context&) {}
void ResetCounters(Context&) {}
void Command2_Click(Context&, int) {}
int trackMask(const Form1&) { return 0; }
} // namespace dornal
