#include "reader/qt/port_path.h"
#include "shared/port_links.h"
#include "support/port_links.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <pwd.h>

namespace dornal::testing {
namespace {

namespace fs = std::filesystem;

// The links are named here, not through the rule under test.
TEST(PortPath, LinksAreFollowedToTheRealDeviceAndWithoutOneTheSerialDeviceCountedFromZero) {
    const PortLinkHome home;
    const fs::path root = fs::canonical(home.root());
    const fs::path ports = root / "dornal" / "ports";
    std::ofstream{root / "ttyReader"};
    fs::create_symlink(root / "ttyReader", root / "alias");
    const std::pair<int, fs::path> links[] = {
        {1, root / "ttyReader"}, // straight to the device
        {2, root / "alias"},     // through a second link
        {3, "../../ttyReader"},  // relative to the ports directory
        {6, root / "unplugged"}, // gone: its target still decides
        {7, "../../gone"},
    };
    for (const auto& [port, target] : links)
        fs::create_symlink(target, ports / ("com" + std::to_string(port)));
    const std::optional<std::string> expected[] = {
        std::nullopt, root / "ttyReader", root / "ttyReader", root / "ttyReader", "/dev/ttyS3",
        "/dev/ttyS4", root / "unplugged", root / "gone",      "/dev/ttyS7",       std::nullopt};
    for (int port = 0; port <= 9; ++port)
        EXPECT_EQ(portDevicePath(port), expected[port]) << port;
    EXPECT_EQ(portDevicePath(-1), std::nullopt);
}

TEST(PortPath, WithoutXdgConfigHomeTheLinksLiveInTheHomeConfigDirectory) {
    const PortLinkHome home;
    const fs::path root = fs::canonical(home.root());
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root.c_str(), 1);
    fs::create_directories(root / ".config" / "dornal" / "ports");
    fs::create_symlink(root / "ttyHome", root / ".config" / "dornal" / "ports" / "com2");
    for (bool unset : {true, false}) {
        unset ? unsetenv("XDG_CONFIG_HOME") : setenv("XDG_CONFIG_HOME", "", 1);
        EXPECT_EQ(portDevicePath(2), (root / "ttyHome").string());
        EXPECT_EQ(portDevicePath(3), "/dev/ttyS2");
    }
    unsetenv("HOME"); // then the account's home directory
    EXPECT_EQ(portLinkDirectory(), fs::path(getpwuid(getuid())->pw_dir) / ".config/dornal/ports");
    setenv("HOME", oldHome.c_str(), 1); // the link home puts XDG_CONFIG_HOME back itself
}

} // namespace
} // namespace dornal::testing
