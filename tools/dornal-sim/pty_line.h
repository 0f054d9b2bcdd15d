#pragma once

#include <string>
#include <termios.h>

namespace dornal::sim {

// The master side of a pseudo-terminal; its slave is the line the bench opens.
class PtyLine {
public:
    // Opens a raw line at `speed`. Throws SimError.
    explicit PtyLine(speed_t speed);
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    int fd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    // The output rate the program on the slave side set; the line's own rate until then.
    // Linux answers tcgetattr on the master with the slave's settings.
    speed_t programSpeed() const;
    // Back to a raw line at the reader's rate, with nothing queued either way: for the next
    // program that opens the line.
    void resetForNextProgram();
    // Whether a program has the slave side open (as far as the master can tell).
    bool programAttached() const;
    void close();

private:
    void makeRaw();

    int master_ = -1;
    speed_t speed_;
    std::string slavePath_;
};

} // namespace dornal::sim
