#include "settings/ConfigLocation.h"

#include <gtest/gtest.h>

using talwyn::settings::ConfigLocation;

TEST(ConfigLocation, ChoosesTheFolder) {
    const struct {
        const char* variable;
        const char* executableFolder;
        bool writable;
        const char* xdg;
        const char* expected;
    } cases[] = {
        {"/tmp/cfg/", "/opt/t", true, "", "/tmp/cfg"},                  // the variable wins
        {"", "/home/u/build", true, "", "/home/u/build"},               // a build or portable copy
        {"", "/opt/t", false, "", "/home/u/.config/talwynwav"},         // read-only folder
        {"", "/opt/t", false, "/x/conf", "/x/conf/talwynwav"},          // XDG_CONFIG_HOME
        {"", "/usr/local/bin", true, "", "/home/u/.config/talwynwav"},  // installed, even as root
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConfigLocation::chooseFolder(QString::fromUtf8(c.variable),
                                               QString::fromUtf8(c.executableFolder), c.writable,
                                               QStringLiteral("/usr/local/bin"),
                                               QString::fromUtf8(c.xdg), QStringLiteral("/home/u")),
                  QString::fromUtf8(c.expected))
            << c.executableFolder;
    }
}
