#include "sim_session.h"

#include "shared/text_number.h"

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

int CountingPort::sio_putch(int port, int value) {
    const int result = QtSerialPort::sio_putch(port, value);
    if (result == 0) {
        if (batchDepth_ > 0)
            ++held_;
        else
            writeSizes_.push_back(1);
    }
    return result;
}

void CountingPort::beginBatch(int port) {
    ++batchDepth_;
    QtSerialPort::beginBatch(port);
}

void CountingPort::endBatch(int port) {
    QtSerialPort::endBatch(port);
    if (--batchDepth_ == 0 && held_ > 0) {
        writeSizes_.push_back(held_);
        held_ = 0;
    }
}

SimSession::SimSession(const std::vector<std::string>& simOptions, int baudRate)
    : sim_(home_, kSimPort, withBaud(simOptions, baudRate)) {
    events.load();
    form.Combo1.setListIndex(kSimPort - 1);
    form.Combo2.setListIndex(baudPosition(form.Combo2, baudRate));
    form.Command1[0].click();
    if (!alerts_.messages.empty())
        throw std::runtime_error("Connect failed: " + alerts_.messages.front());
}

SimSession::~SimSession() {
    events.unload();
}

void SimSession::start(Mode mode) {
    for (auto& check : form.Check1)
        check.setValue(1);
    form.tx_WriteTimesPerLoop.setText("1");
    form.tx_ReadTimesPerLoop.setText("1");
    form.Option1[static_cast<int>(mode)].select();
    form.Command2[0].click();
    if (!alerts_.messages.empty())
        throw std::runtime_error("Start failed: " + alerts_.messages.front());
    if (!form.Timer1.enabled())
        throw std::runtime_error("Start did not arm Timer1");
}

long SimSession::loops() const {
    return std::stol(counterDigits(form.Label1[0].caption()));
}

} // namespace dornal::bench
