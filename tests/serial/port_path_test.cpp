#include "reader/qt/port_path.h"
#include "support/port_links.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

namespace dornal::testing {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable (or removes it) for the life of the object.
class EnvironmentValue {
  public:
    EnvironmentValue(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            previous_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentValue() {
        if (previous_)
            setenv(name_, previous_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

class PortPathTest : public ::testing::Test {
  protected:
    // A file standing for a device, in the private configuration home.
    fs::path makeDevice(const std::string& name) {
        const fs::path device = fs::path(home.root()) / name;
        std::ofstream{device};
        return fs::canonical(device);
    }
    PortLinkHome home;
};

TEST_F(PortPathTest, WithoutLinksPortsOpenTheSerialDevicesCountedFromZero) {
    for (int port = 1; port <= 8; ++port)
        EXPECT_EQ(portDevicePath(port), "/dev/ttyS" + std::to_string(port - 1)) << port;
}

TEST_F(PortPathTest, NumbersOutsideOneToEightNameNoDevice) {
    for (int port : {0, 9, -1, 100})
        EXPECT_EQ(portDevicePath(port), std::nullopt) << port;
}

TEST_F(PortPathTest, LinksAreFollowedToTheRealDevice) {
    const fs::path device = makeDevice("ttyReader");
    fs::create_symlink(fs::path(home.root()) / "ttyReader", fs::path(home.root()) / "alias");
    struct Case {
        int port;
        fs::path target;
    } cases[] = {
        {1, device},                          // straight to the device
        {2, fs::path(home.root()) / "alias"}, // through a second link
        {3, "../../ttyReader"},               // relative to the ports directory
    };
    for (const Case& c : cases) {
        fs::create_symlink(c.target, home.link(c.port));
        EXPECT_EQ(portDevicePath(c.port), device.string()) << c.target;
    }
    EXPECT_EQ(portDevicePath(4), "/dev/ttyS3"); // the other ports keep their fallback
}

TEST_F(PortPathTest, ABrokenLinkStillNamesItsTargetRatherThanAnotherLine) {
    const fs::path gone = fs::path(home.root()) / "unplugged";
    fs::create_symlink(gone, home.link(5));
    EXPECT_EQ(portDevicePath(5), gone.string());
}

TEST_F(PortPathTest, WithoutXdgConfigHomeTheLinksLiveInTheHomeConfigDirectory) {
    const EnvironmentValue homeDir("HOME", home.root().c_str());
    const fs::path ports = fs::path(home.root()) / ".config" / "dornal" / "ports";
    fs::create_directories(ports);
    const fs::path device = makeDevice("ttyHome");
    fs::create_symlink(device, ports / "com2");
    for (const char* xdg : {static_cast<const char*>(nullptr), ""}) {
        const EnvironmentValue config("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(portLinkDirectory(), ports);
        EXPECT_EQ(portDevicePath(2), device.string());
    }
}

} // namespace
} // namespace dornal::testing
