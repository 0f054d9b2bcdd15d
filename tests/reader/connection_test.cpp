#include "reader/connection.h"
#include "reader_test_support.h"
#include "ui/form_load.h"

#include <gtest/gtest.h>

namespace dornal {
namespace {

using testing::Bench;
using testing::kEscText;

using Calls = std::vector<std::string>;

TEST(Connect, OpensTheChosenPortResetsTheReaderThenSendsTheCharSet) {
    Bench b;
    b.form.Combo1.setListIndex(2);
    b.form.Combo2.setListIndex(5);
    b.form.Option3[1].select();
    b.port.clearRecord();
    // The order of the steps: each command as it leaves, the last state row, the first zeroing.
    Calls order;
    b.port.onWrite = [&](const std::vector<std::uint8_t>& w) {
        order.emplace_back(w.begin(), w.end());
    };
    b.form.Text1[2].addListener([&] { order.push_back("unlocked"); });
    b.form.Label1[0].addListener([&] { order.push_back("zeroed"); });

    b.form.Command1[0].click();

    EXPECT_EQ(order, (Calls{kEscText + "a", "unlocked", "zeroed", kEscText + "O"}));
    EXPECT_EQ(b.shared.PortNumber, 3);
    EXPECT_EQ(b.shared.BaudCode, 14);
    EXPECT_EQ(b.shared.LineMode, 3);
    EXPECT_EQ(b.port.calls,
              (Calls{"open 3", "timeouts 100 100", "ioctl 14 3", "read 16", "read 16", "read 16"}));
    EXPECT_EQ(b.port.writes.size(), 2u);
    EXPECT_EQ(b.alerts.beeps, 0);
    EXPECT_TRUE(b.alerts.messages.empty());
}

TEST(Connect, PortAndBaudFollowTheListPositions) {
    const std::pair<int, int> ports[] = {{0, 1}, {4, 5}, {7, 8}};
    for (auto [position, port] : ports) {
        Bench b;
        b.form.Combo1.setListIndex(position);
        b.form.Command1[0].click();
        EXPECT_EQ(b.shared.PortNumber, port);
        EXPECT_EQ(b.port.openPort(), port);
    }
    const int codes[] = {7, 9, 10, 12, 13, 14, 15, 16};
    for (int position = 0; position < 8; ++position) {
        Bench b;
        b.form.Combo2.setListIndex(position);
        b.form.Command1[0].click();
        EXPECT_EQ(b.shared.BaudCode, codes[position]);
        EXPECT_EQ(b.port.baudCode, b.shared.BaudCode);
    }
}

TEST(Connect, WithoutABaudEntryKeepsThePreviousCode) {
    Bench b;
    b.form.Combo2.setListIndex(-1);
    b.form.Command1[0].click();
    EXPECT_EQ(b.shared.BaudCode, 0) << "nothing chosen before";

    b.form.Command1[1].click();
    b.form.Combo2.setListIndex(6);
    b.form.Command1[0].click();
    b.form.Command1[1].click();
    b.form.Combo2.edit("12345"); // typed, not in the list
    b.port.clearRecord();
    b.form.Command1[0].click();
    EXPECT_EQ(b.shared.BaudCode, 15);
    EXPECT_EQ(b.port.calls[2], "ioctl 15 3");
}

TEST(Connect, WithNoCharSetSelectedSendsOnlyTheReset) {
    Bench b;
    b.form.Option3[3].setValue(false);
    b.port.clearRecord();
    b.form.Command1[0].click();
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
    std::vector<std::string> log;
};

struct FailedOpenCase {
    int portPosition;
    int missingPort; // taken out of the machine, 0 for none
    int expectedPort;
};

TEST(Connect, FailedOpenBeepsThreeTimesShowsTheMessageThenClosesAndChangesNothing) {
    const FailedOpenCase cases[] = {{-1, 0, 0}, {1, 2, 2}};
    for (const auto& c : cases) {
        Form1 form;
        FakeSerialPort port;
        OrderedAlerts alerts(port);
        SharedValues shared;
        Context context{form, alerts, ReaderLink{port, shared}};
        Form_Load(context);
        port.existingPorts.erase(c.missingPort);
        form.Combo1.setListIndex(c.portPosition);
        form.Label1[1].setCaption("5");
        form.Text1[0].setText("AB");
        port.clearRecord();

        Connect(context);

        const std::string open = "open " + std::to_string(c.expectedPort);
        const std::string close = "close " + std::to_string(c.expectedPort);
        EXPECT_EQ(port.calls, (Calls{open, close}));
        EXPECT_EQ(alerts.log,
                  (Calls{"beep@1", "beep@1", "beep@1", "Open COM Port Fail!|Dornal Test@1"}));
        EXPECT_TRUE(port.sent.empty());
        EXPECT_EQ(shared.PortNumber, c.expectedPort);
        EXPECT_TRUE(form.Command1[0].enabled());
        EXPECT_FALSE(form.Command1[1].enabled());
        EXPECT_FALSE(form.Command2[0].enabled());
        EXPECT_FALSE(form.Option1[0].enabled());
        EXPECT_EQ(form.Label1[1].caption(), "5");
        EXPECT_EQ(form.Text1[0].text(), "AB");
    }
}

struct StateRow {
    const Control* control;
    bool afterConnect;
    bool afterDisconnect;
};

std::vector<StateRow> stateTable(const Form1& f) {
    std::vector<StateRow> rows{{&f.Combo1, false, true},
                               {&f.Combo2, false, true},
                               {&f.Command1[0], false, true},
                               {&f.Command1[1], true, false},
                               {&f.Command2[0], true, false},
                               {&f.Command2[1], false, false},
                               {&f.Command2[2], true, false},
                               {&f.tx_WriteTimesPerLoop, true, false},
                               {&f.tx_ReadTimesPerLoop, true, false}};
    for (int i = 0; i < 5; ++i)
        rows.push_back({&f.Option1[i], true, false});
    for (int i = 0; i < 3; ++i)
        rows.push_back({&f.Option2[i], true, false});
    for (int i = 0; i < 4; ++i)
        rows.push_back({&f.Option3[i], true, false});
    for (std::size_t i = 0; i < 3; ++i) {
        rows.push_back({&f.Check1[i], true, false});
        rows.push_back({&f.Text1[i], true, false});
    }
    return rows;
}

TEST(ConnectAndDisconnect, SetTheWindowStateAndLeaveTheRestAlone) {
    Bench b;
    b.form.Option4[1].setEnabled(false);
    b.form.chkGetFirmwareVersion.setEnabled(false);
    b.form.Text3.setText("V1.");
    b.form.Text2[0].setText("READ");
    const auto rows = stateTable(b.form);

    b.form.Command1[0].click();
    for (const auto& row : rows)
        EXPECT_EQ(row.control->enabled(), row.afterConnect) << "connect " << row.control->name();

    b.form.Timer1.setEnabled(true);
    b.form.Command2[0].setEnabled(true); // as during a run
    b.form.Command1[1].click();
    for (const auto& row : rows)
        EXPECT_EQ(row.control->enabled(), row.afterDisconnect)
            << "disconnect " << row.control->name();

    EXPECT_FALSE(b.form.Option4[1].enabled());
    EXPECT_TRUE(b.form.Option4[0].enabled());
    EXPECT_FALSE(b.form.chkGetFirmwareVersion.enabled());
    EXPECT_TRUE(b.form.Timer1.enabled());
    EXPECT_EQ(b.form.Text3.text(), "V1.");
    EXPECT_EQ(b.form.Text2[0].text(), "READ");
}

TEST(ConnectAndDisconnect, ConnectZeroesTheCountersDisconnectEmptiesTheTrackData) {
    Bench b;
    std::vector<Label*> counters{&b.form.Label1[0], &b.form.Label1[1], &b.form.Label1[2],
                                 &b.form.Label1[3]};
    for (int track = 1; track <= 3; ++track) {
        counters.push_back(&b.form.writeCounter(track));
        counters.push_back(&b.form.readCounter(track));
    }
    for (auto& label : b.form.Label3)
        counters.push_back(&label);
    for (Label* label : counters)
        label->setCaption("7");
    b.form.Text1[0].setText("AB");
    b.form.Text1[1].setText("12");

    b.form.Command1[0].click();
    for (Label* label : counters)
        EXPECT_EQ(label->caption(), "0") << label->name();
    EXPECT_EQ(b.form.Text1[0].text(), "AB");
    EXPECT_EQ(b.form.Text1[1].text(), "12");

    for (Label* label : counters)
        label->setCaption("4");
    b.shared.LastCmdRead = kTrue;
    b.port.clearRecord();
    b.form.Command1[1].click();
    EXPECT_EQ(b.port.calls, (Calls{"close 1"}));
    EXPECT_TRUE(b.port.sent.empty());
    EXPECT_FALSE(b.port.isOpen());
    for (auto& box : b.form.Text1)
        EXPECT_EQ(box.text(), "");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b.form.Label1[static_cast<std::size_t>(i)].caption(), "4");
    for (auto& length : b.form.Label3)
        EXPECT_EQ(length.caption(), "0"); // the emptied boxes report their length
    EXPECT_EQ(b.shared.LastCmdRead, kTrue);
    EXPECT_EQ(b.shared.PortNumber, 1);
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

TEST(Command1Click, OtherIndexesDoNothing) {
    Bench b;
    b.port.clearRecord();
    Command1_Click(b.context(), 2);
    Command1_Click(b.context(), -1);
    EXPECT_TRUE(b.port.calls.empty());
    EXPECT_TRUE(b.form.Command1[0].enabled());
}

} // namespace
} // namespace dornal
