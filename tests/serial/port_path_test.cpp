#include "reader/qt/port_path.h"
#include "shared/port_links.h"
#include "support/port_links.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace dornal::testing {
namespace {

namespace fs = std::filesystem;

class PortPathTest : public ::testing::Test {
protected:
    // A file standing for a device, in the private configuration home.
    fs::path makeDevice(const std::string& name) {
        std::ofstream{root() / name};
        return fs::canonical(root() / name);
    }
    fs::path root() const { return home.root(); }
    PortLinkHome home;
};

TEST_F(PortPathTest, WithoutLinksPortsOneToEightOpenTheSerialDevicesCountedFromZero) {
    for (int port = 1; port <= 8; ++port)
        EXPECT_EQ(portDevicePath(port), "/dev/ttyS" + std::to_string(port - 1)) << port;
    for (int port : {0, 9, -1, 100})
        EXPECT_EQ(portDevicePath(port), std::nullopt) << port;
}

TEST_F(PortPathTest, LinksAreFollowedToTheRealDeviceAndABrokenOneNamesItsTarget) {
    const fs::path device = makeDevice("ttyReader");
    fs::create_symlink(root() / "ttyReader", root() / "alias");
    const std::pair<int, fs::path> cases[] = {
        {1, device},            // straight to the device
        {2, root() / "alias"},  // through a second link
        {3, "../../ttyReader"}, // relative to the ports directory
    };
    // The folder named here on its own, not by the rule under test.
    EXPECT_EQ(portLinkPath(1), root() / "dornal" / "ports" / "com1");
    for (const auto& [port, target] : cases) {
        fs::create_symlink(target, home.link(port));
        EXPECT_EQ(portDevicePath(port), device.string()) << target;
    }
    EXPECT_EQ(portDevicePath(4), "/dev/ttyS3"); // the other ports keep their fallback
    fs::create_symlink(root() / "unplugged", home.link(5));
    EXPECT_EQ(portDevicePath(5), (root() / "unplugged").string());
}

TEST_F(PortPathTest, WithoutXdgConfigHomeTheLinksLiveInTheHomeConfigDirectory) {
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root().c_str(), 1);
    const fs::path ports = root() / ".config" / "dornal" / "ports";
    fs::create_directories(ports);
    fs::create_symlink(makeDevice("ttyHome"), ports / "com2");
    for (bool unset : {true, false}) {
        unset ? unsetenv("XDG_CONFIG_HOME") : setenv("XDG_CONFIG_HOME", "", 1);
        EXPECT_EQ(portLinkPath(2), ports / "com2");
        EXPECT_EQ(portDevicePath(2), fs::canonical(root() / "ttyHome").string());
    }
    setenv("HOME", oldHome.c_str(), 1); // the home restores XDG_CONFIG_HOME itself
}

} // namespace
} // namespace dornal::testing
