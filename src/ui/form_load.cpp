#include "form_load.h"

#include "reader/protocol.h"
#include "shared/track_alphabets.h"

#include <string>

namespace dornal {
namespace {

constexpr const char* kPorts[] = {"COM 1", "COM 2", "COM 3", "COM 4",
                                  "COM 5", "COM 6", "COM 7", "COM 8"};
constexpr int kDefaultPortPosition = 0;
constexpr int kDefaultBaudPosition = 3; // 9600

} // namespace

void Form_Load(Context& context) {
    Form1& f = context.form;
    for (const char* port : kPorts)
        f.Combo1.addItem(port);
    f.Combo1.setListIndex(kDefaultPortPosition);
    // The baud list and the codes Connect takes by list position come from one table.
    for (int rate : protocol::kBaudRates)
        f.Combo2.addItem(std::to_string(rate));
    f.Combo2.setListIndex(kDefaultBaudPosition);

    for (auto& check : f.Check1)
        check.setEnabled(false);
    f.Option1.setEnabled(false);
    f.Option2.setEnabled(false);
    f.tx_WriteTimesPerLoop.setEnabled(false);
    f.tx_ReadTimesPerLoop.setEnabled(false);
    f.Option3.setEnabled(false);
    for (auto& box : f.Text1)
        box.setText("");
    for (auto& box : f.Text1)
        box.setHeight(kTrackBoxFullHeight);
    for (auto& box : f.Text2)
        box.setText("");
    for (auto& box : f.Text2)
        box.setVisible(false);
    f.Text3.setText("");
    f.Command1[0].setEnabled(true);
    f.Command1[1].setEnabled(false);
    for (auto& button : f.Command2)
        button.setEnabled(false);
    f.zeroCounterDisplays();
    f.Label5.setCaption("");

    f.Option1[4].select(); // raises Option1_Click: read-back boxes shown
    f.Option2[1].select();
    f.Option3[3].select(); // raises Option3_Click: no port is open yet, the command goes nowhere
    f.Option4[0].select(); // raises Option4_Click, likewise
    for (auto& check : f.Check1)
        check.setValue(1);

    SharedValues& shared = context.shared();
    shared.Track1Alphabet = kTrack1Alphabet;
    shared.Track2Alphabet = kTrack2Alphabet;
    shared.Track3Alphabet = kTrack3Alphabet;
}

} // namespace dornal
