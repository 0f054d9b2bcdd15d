#include "connection.h"
// placeholder until the connection lands
namespace dornal {
void Connect(Context&) {}
void Disconnect(Context&) {}
void Command1_Click(Context&, int) {}
void Form_Unload(Context&) {}
} // namespace dornal
