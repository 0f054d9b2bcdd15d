// dornal-sim: a simulated Dornal reader on a pseudo-terminal (see --help).
#include "line_rate.h"
#include "options.h"
#include "port_link.h"
#include "pty_line.h"
#include "sim_error.h"
#include "simulator.h"
#include "trace.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace dornal::sim;

int stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(stopPipe[1], &byte, 1);
    errno = saved;
}

// The stop signals only mark the pipe; the loop then ends and the link is removed on the
// way out, as on every other way out.
void catchStopSignals() {
    if (pipe(stopPipe) != 0) {
        throwSystemError("cannot create a pipe");
    }
    for (int fd : stopPipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

int serve(const Options& options) {
    catchStopSignals();
    Trace trace;
    if (options.trace) {
        trace.open(options.traceFile);
    }
    PtyLine line(*speedCode(options.baud));
    PortLink link(options.port, line.slavePath());
    if (!link.replacedTarget().empty()) {
        std::fprintf(stderr, "dornal-sim: took over %s, which led to %s\n", link.path().c_str(),
                     link.replacedTarget().c_str());
    }
    std::fprintf(stderr, "dornal-sim: reader on com%d (%s -> %s), %d baud\n", options.port,
                 link.path().c_str(), line.slavePath().c_str(), options.baud);
    trace.note("reader on " + line.slavePath());
    return Simulator(options, line, link, trace, stopPipe[0]).run();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "dornal-sim: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options->help) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    try {
        return serve(*parsed.options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dornal-sim: %s\n", error.what());
        return 1;
    }
}
