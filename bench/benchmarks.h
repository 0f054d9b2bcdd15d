#pragma once

#include <chrono>
#include <string>

namespace dornal::bench {

// CPU share while an "Auto Write Loop" waits on a reader that never answers.
void silentReaderCpu(std::chrono::seconds runFor);
// CPU share inside the bounded wait for an answer that starts and then stops.
void cutAnswerCpu(std::chrono::seconds runFor);
// The window thread's longest stall in a loop case ("wrl9600", "wrl115200", "wl9600",
// "wl115200"), against a reader that cuts its answers after 2 bytes ("cut"), or one whose
// read answers trickle in over about 9 s ("dribble").
void windowStall(const std::string& which, std::chrono::seconds runFor);
// Writes handed to the device for one write of full tracks, and their sizes.
void writeCallsPerFrame();
// Loops per minute of a loop mode (its place in the Action list) at a line rate.
void loopCadence(int modeIndex, int baudRate, std::chrono::seconds runFor, bool record = false);

// An unattended "Auto Write/Read Loop" against a reader that fails some writes and sends stray
// bytes: memory, descriptors and tick time at the start and the end, and the counters against
// the simulated reader's own tally.
void soak(std::chrono::seconds runFor, const std::string& recordDir = {});

} // namespace dornal::bench
