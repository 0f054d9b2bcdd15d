#pragma once

#include "bench_fixture.h"
#include "cpu_clock.h"
#include "reader/qt/qt_serial_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>

namespace dornal::testing {

// The window's logic on the real serial layer, as the program runs it.
struct RealBench {
    Form1 form;
    RecordingAlerts alerts;
    QtSerialPort port;
    SharedValues shared;
    Form1Events events{form, alerts, port, shared};

    RealBench() { events.load(); }
    ~RealBench() { events.unload(); }
    Context& context() { return events.context(); }
    void connect(int comPosition, int baudPosition) {
        form.Combo1.setListIndex(comPosition);
        form.Combo2.setListIndex(baudPosition);
        form.Command1[0].click();
    }
};

// Runs `work` and returns the CPU time it used as a share of the wall time it took.
struct CpuShare {
    double wallSeconds;
    double share;
};
inline CpuShare measureCpu(const std::function<void()>& work) {
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = processCpuSeconds();
    work();
    const double cpu = processCpuSeconds() - cpu0;
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    return {seconds, seconds > 0 ? cpu / seconds : 0};
}

// Lets the real 500 ms timer drive the test cycle for a while, as the window does.
inline void runTicks(Form1& form, std::chrono::milliseconds duration) {
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(form.Timer1.interval());
    QObject::connect(&timer, &QTimer::timeout, [&form] { form.Timer1.tick(); });
    timer.start();
    // A real event loop sleeps between events; processEvents with a time limit would spin.
    QEventLoop loop;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace dornal::testing
