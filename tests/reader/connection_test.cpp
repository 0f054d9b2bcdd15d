#include "reader/connection.h"
#include "reader_test_support.h"
#include "ui/form_load.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::Bench;
using testing::kEscText;
using Calls = std::vector<std::string>;

TEST(Connect, OpensTheChosenPortResetsTheReaderUnlocksZeroesThenSendsTheCharSet) {
    Bench b;
    b.form.Combo1.setListIndex(2);
    b.form.Combo2.setListIndex(5);
    b.form.Option3[1].select();
    b.port.clearRecord();
    Calls order; // each command as it leaves, the last state row, the first zeroing
    b.port.onWrite = [&](const std::vector<std::uint8_t>& w) {
        order.emplace_back(w.begin(), w.end());
    };
    b.form.Text1[2].addListener([&] { order.push_back("unlocked"); });
    b.form.Label1[0].addListener([&] { order.push_back("zeroed"); });
    b.form.Label1[0].setCaption("7");
    order.clear();

    b.form.Command1[0].click();

    EXPECT_EQ(order, (Calls{kEscText + "a", "unlocked", "zeroed", kEscText + "O"}));
    EXPECT_EQ(b.shared.PortNumber, 3);
    EXPECT_EQ(b.shared.LineMode, 3);
    EXPECT_EQ(b.port.calls,
              (Calls{"open 3", "timeouts 100 100", "ioctl 14 3", "read 16", "read 16", "read 16"}));
    EXPECT_EQ(b.alerts.beeps, 0);
    EXPECT_TRUE(b.alerts.messages.empty());
}

TEST(Connect, PortAndBaudFollowTheListPositions) {
    const int codes[] = {7, 9, 10, 12, 13, 14, 15, 16};
    for (int position = 0; position < 8; ++position) {
        Bench b;
        b.form.Combo1.setListIndex(position);
        b.form.Combo2.setListIndex(position);
        b.form.Command1[0].click();
        EXPECT_EQ(b.shared.PortNumber, position + 1);
        EXPECT_EQ(b.port.openPort(), position + 1);
        EXPECT_EQ(b.shared.BaudCode, codes[position]);
        EXPECT_EQ(b.port.baudCode, codes[position]);
    }
}

TEST(Connect, WithoutABaudEntryKeepsThePreviousCodeAndWithoutACharSetSendsOnlyTheReset) {
    Bench b;
    b.form.Combo2.setListIndex(-1);
    b.form.Command1[0].click();
    EXPECT_EQ(b.shared.BaudCode, 0) << "nothing chosen before";
    b.form.Command1[1].click();
    b.form.Combo2.setListIndex(6);
    b.form.Command1[0].click();
    b.form.Command1[1].click();
    b.form.Combo2.edit("12345"); // typed, not in the list
    b.form.Option3[3].setValue(false);
    b.port.clearRecord();
    b.form.Command1[0].click();
    EXPECT_EQ(b.shared.BaudCode, 15);
    EXPECT_EQ(b.port.calls[2], "ioctl 15 3");
    EXPECT_EQ(b.port.commandTexts(), (Calls{kEscText + "a"}));
}

// Keeps, for each alert, how many serial calls had been made by then.
struct OrderedAlerts : Alerts {
    explicit OrderedAlerts(const FakeSerialPort& port) : port(port) {}
    void beep() override { log.push_back("beep@" + std::to_string(port.calls.size())); }
    void messageBox(std::string_view text, std::string_view title) override {
        log.push_back(std::string(text) + "|" + std::string(title) + "@" +
                      std::to_string(port.calls.size()));
    }
    const FakeSerialPort& port;
    Calls log;
};

TEST(Connect, FailedOpenBeepsThreeTimesShowsTheMessageThenClosesAndChangesNothing) {
    // No entry chosen (port 0), and port 2 taken out of the machine.
    for (const auto& [position, port] : {std::pair{-1, 0}, std::pair{1, 2}}) {
        Form1 form;
        FakeSerialPort serial;
        OrderedAlerts alerts(serial);
        SharedValues shared;
        Context context{form, alerts, ReaderLink{serial, shared}};
        Form_Load(context);
        serial.existingPorts.erase(port);
        form.Combo1.setListIndex(position);
        form.Label1[1].setCaption("5");
        form.Text1[0].setText("AB");
        serial.clearRecord();

        Connect(context);

        const std::string number = std::to_string(port);
        EXPECT_EQ(serial.calls, (Calls{"open " + number, "close " + number}));
        EXPECT_EQ(alerts.log,
                  (Calls{"beep@1", "beep@1", "beep@1", "Open COM Port Fail!|Dornal Test@1"}));
        EXPECT_TRUE(serial.sent.empty());
        EXPECT_EQ(shared.PortNumber, port);
        EXPECT_TRUE(form.Command1[0].enabled());
        EXPECT_FALSE(form.Command2[0].enabled());
        EXPECT_EQ(form.Label1[1].caption(), "5");
        EXPECT_EQ(form.Text1[0].text(), "AB");
    }
}

TEST(ConnectAndDisconnect, SetTheWindowStateInTheirTableAndLeaveTheRestAlone) {
    Bench b;
    const Form1& f = b.form;
    // Connect unlocks the test controls and locks the connection choice; Disconnect the reverse.
    const std::vector<const Control*> locked{&f.Combo1, &f.Combo2, &f.Command1[0]};
    std::vector<const Control*> unlocked{&f.Command1[1], &f.Command2[0], &f.Command2[2],
                                         &f.tx_WriteTimesPerLoop, &f.tx_ReadTimesPerLoop};
    for (const OptionGroup* group : {&f.Option1, &f.Option2, &f.Option3})
        for (int i = 0; i < group->size(); ++i)
            unlocked.push_back(&(*group)[i]);
    for (std::size_t i = 0; i < 3; ++i)
        unlocked.insert(unlocked.end(), {&f.Check1[i], &f.Text1[i]});
    auto expectConnected = [&](bool connected) {
        for (const Control* control : unlocked)
            EXPECT_EQ(control->enabled(), connected) << control->name();
        for (const Control* control : locked)
            EXPECT_EQ(control->enabled(), !connected) << control->name();
        EXPECT_FALSE(f.Command2[1].enabled());
    };
    b.form.Option4[1].setEnabled(false);
    b.form.chkGetFirmwareVersion.setEnabled(false);
    b.form.Text3.setText("V1.");
    b.form.Text2[0].setText("READ");
    b.form.Text1[0].setText("AB");
    std::vector<Label*> counters{&b.form.Label1[0], &b.form.Label1[1], &b.form.Label1[2],
                                 &b.form.Label1[3], &b.form.Label3[0]};
    for (int track = 1; track <= 3; ++track) {
        counters.push_back(&b.form.writeCounter(track));
        counters.push_back(&b.form.readCounter(track));
    }
    for (Label* label : counters)
        label->setCaption("7");

    b.form.Command1[0].click();
    expectConnected(true);
    for (Label* label : counters)
        EXPECT_EQ(label->caption(), "0") << label->name();
    EXPECT_EQ(b.form.Text1[0].text(), "AB");

    b.form.Label1[1].setCaption("4");
    b.form.Timer1.setEnabled(true);
    b.form.Command2[0].setEnabled(true); // as during a run
    b.shared.LastCmdRead = kTrue;
    b.port.clearRecord();
    b.form.Command1[1].click();
    expectConnected(false);
    EXPECT_EQ(b.port.calls, (Calls{"close 1"}));
    EXPECT_TRUE(b.port.sent.empty());
    for (const auto& box : b.form.Text1)
        EXPECT_EQ(box.text(), "");
    EXPECT_EQ(b.form.Label3[0].caption(), "0"); // the emptied box reports its length
    EXPECT_EQ(b.form.Label1[1].caption(), "4");
    EXPECT_EQ(b.shared.LastCmdRead, kTrue);
    EXPECT_EQ(b.shared.PortNumber, 1);
    EXPECT_FALSE(b.form.Option4[1].enabled());
    EXPECT_TRUE(b.form.Option4[0].enabled());
    EXPECT_FALSE(b.form.chkGetFirmwareVersion.enabled());
    EXPECT_TRUE(b.form.Timer1.enabled());
    EXPECT_EQ(b.form.Text3.text(), "V1.");
    EXPECT_EQ(b.form.Text2[0].text(), "READ");
}

TEST(FormUnload, ClosesThePortConnectedOrNot) {
    Bench never;
    never.port.clearRecord();
    never.events.unload();
    EXPECT_EQ(never.port.calls, (Calls{"close 0"}));
    EXPECT_TRUE(never.alerts.messages.empty());

    Bench connected;
    connected.connect();
    connected.events.unload();
    EXPECT_EQ(connected.port.calls, (Calls{"close 1"}));
    EXPECT_FALSE(connected.port.isOpen());
}

} // namespace
} // namespace dornal
