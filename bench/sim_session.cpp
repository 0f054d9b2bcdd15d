#include "sim_session.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <stdexcept>

namespace dornal::bench {
namespace {

constexpr int kSimPort = 1;

std::vector<std::string> withBaud(std::vector<std::string> options, int baudRate) {
    options.insert(options.end(), {"--baud", std::to_string(baudRate)});
    return options;
}

int baudPosition(const ComboBox& combo, int baudRate) {
    const auto& items = combo.items();
    const auto found = std::find(items.begin(), items.end(), std::to_string(baudRate));
    if (found == items.end())
        throw std::runtime_error("no baud rate " + std::to_string(baudRate) + " in the list");
    return static_cast<int>(found - items.begin());
}

} // namespace

bool CountingLine::write(std::span<const std::uint8_t> bytes) {
    const bool written = QtLine::write(bytes);
    if (written)
        writeSizes_.push_back(static_cast<int>(bytes.size()));
    return written;
}

SimSession::SimSession(const std::vector<std::string>& simOptions, int baudRate)
    : sim_(home_, kSimPort, withBaud(simOptions, baudRate)) {
    controller.load();
    window.portList.setListIndex(kSimPort - 1);
    window.rateList.setListIndex(baudPosition(window.rateList, baudRate));
    window.connectButton.click();
    settle();
    if (!alerts_.messages.empty())
        throw std::runtime_error("Connect failed: " + alerts_.messages.front());
}

SimSession::~SimSession() {
    controller.unload();
}

void SimSession::start(Mode mode) {
    for (auto& check : window.trackChecks)
        check.setValue(1);
    window.writesPerLoopBox.setText("1");
    window.readsPerLoopBox.setText("1");
    window.modeOptions[static_cast<int>(mode)].select();
    window.startButton.click();
    settle();
    if (!alerts_.messages.empty())
        throw std::runtime_error("Start failed: " + alerts_.messages.front());
    if (!window.cycleTimer.enabled())
        throw std::runtime_error("Start did not start the ticks");
}

void SimSession::settle() {
    while (controller.stepInProgress() || window.input.holding())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

std::string SimSession::stopReader() {
    sim_.stop();
    return sim_.output();
}

long SimSession::loops() const {
    return static_cast<long>(controller.bench().counters().loops);
}

} // namespace dornal::bench
