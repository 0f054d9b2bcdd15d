#pragma once

#include <filesystem>
#include <string>

// Where the bench finds the devices of its ports: plain C++, shared by the program and the
// simulated reader, which publishes its line there.
namespace dornal {

// $XDG_CONFIG_HOME/dornal/ports, or ~/.config/dornal/ports when XDG_CONFIG_HOME is unset or
// empty. Empty when there is no such folder to look in: without XDG_CONFIG_HOME, on Windows or
// when neither HOME nor the user database names a home directory.
std::filesystem::path portLinkDirectory();

// "com<port>": the name of the link that stands for port `port`.
std::string portLinkName(int port);

// The link for port `port` in portLinkDirectory(); empty when that is empty.
std::filesystem::path portLinkPath(int port);

} // namespace dornal
