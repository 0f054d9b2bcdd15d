// What the port list says of each port, and why a Connect failed.
#include "port_links.h"
#include "ui/port_texts.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace dornal {
namespace {

using Device = PortDescription::Device;
using Reason = OpenFailure::Reason;
using namespace std::string_literals;

TEST(PortTexts, AnEntryNamesItsDeviceAndWhatTheSystemSaysOfIt) {
    // {port, what the line says of it, the entry's description}
    const std::tuple<int, PortDescription, std::string> rows[] = {
        {2,
         {2, "/dev/ttyUSB0", Device::Present, "FT232R USB UART", "FTDI", "A50285BI"},
         "COM 2: /dev/ttyUSB0, FT232R USB UART, FTDI, serial A50285BI"},
        {4,
         {4, "/dev/ttyACM0", Device::Present, "Arduino", "Arduino", ""},
         "COM 4: /dev/ttyACM0, Arduino"},
        {7,
         {7, "/dev/ttyS6", Device::Present, "", "Acme", "7"},
         "COM 7: /dev/ttyS6, Acme, serial 7"},
        {1, {1, "/dev/pts/3", Device::Present}, "COM 1: /dev/pts/3"},
        {5,
         {5, "/dev/ttyS4", Device::Missing, "old", "", "1"},
         "COM 5: /dev/ttyS4, no such device"},
        {3, {3, "/tmp/plain", Device::NotSerial}, "COM 3: /tmp/plain, not a serial device"},
    };
    for (const auto& [port, description, text] : rows)
        EXPECT_EQ(portDescriptionText(description), text) << port;
}

// The list is described when the window loads and again whenever the operator opens it.
TEST(WindowController, DescribesEachPortWhenTheListOpensAndAFailedConnectSaysWhy) {
    const testing::PortLinkHome home;
    const std::string links = portLinkDirectory().string();
    testing::TestWindow t;
    WindowModel& w = t.window;
    t.line.existingPorts.erase(5);
    const std::string loaded = w.portList.description(0) + "|" + w.portList.description(4);
    w.portList.dropDown();
    EXPECT_EQ(std::tuple(loaded, w.portList.description(4), w.portList.description(7)),
              std::tuple("COM 1: memory1|COM 5: memory5"s, "COM 5: memory5, no such device"s,
                         "COM 8: memory8"s));

    const std::string linkHint = "\nLink COM 5 to the reader's device, for example:\nmkdir -p " +
                                 links + "\nln -sf /dev/ttyUSB0 " + links + "/com5";
    // {list position, why the line refused, what the message says below "Open COM Port Fail!"}
    const std::tuple<int, OpenFailure, std::string> rows[] = {
        {-1, {}, "No port is chosen: choose one of COM 1 to COM 8 from the list."},
        {4,
         {Reason::NoDevice, "/dev/ttyS4"},
         "No device behind COM 5: /dev/ttyS4 is not there.\nPlug the reader in." + linkHint},
        {4,
         {Reason::PermissionDenied, "/dev/ttyUSB0", "dialout"},
         "Permission denied on /dev/ttyUSB0, which belongs to the group dialout.\nJoin that group "
         "once, then log out and in again:\nsudo usermod -aG dialout \"$USER\""},
        {4, {Reason::PermissionDenied, "/dev/ttyUSB0"}, "Permission denied on /dev/ttyUSB0."},
        {4,
         {Reason::Busy, "/dev/ttyUSB0"},
         "/dev/ttyUSB0 is held by another program (or another bench).\nClose it there, then "
         "connect again."},
        {4, {Reason::NotSerial, "/tmp/plain"}, "/tmp/plain is not a serial device." + linkHint},
        {4,
         {Reason::Other, "/dev/ttyS4", "", "Input/output error"},
         "/dev/ttyS4 did not open: Input/output error."},
        {4, {Reason::Other, "/dev/ttyS4"}, "/dev/ttyS4 did not open."},
    };
    for (const auto& [position, refusal, informative] : rows) {
        t.line.refusal = refusal;
        w.portList.setListIndex(position);
        t.alerts.beeps = 0;
        w.connectButton.click();
        EXPECT_EQ(std::tuple(t.alerts.beeps, t.alerts.messages.back(), t.alerts.informatives.back(),
                             w.connectButton.enabled()),
                  std::tuple(3, "Open COM Port Fail!"s, informative, true))
            << position << " " << informative;
    }
}

} // namespace
} // namespace dornal
