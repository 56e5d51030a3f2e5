#include "device/OsClass.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct OsCase {
    OsVersion version;
    std::uint8_t osClass;
    std::uint32_t winMe;
};

TEST(OsClass, ClassifiesTheVersion) {
    const OsCase cases[] = {
        {{OsPlatform::WindowsNt, 5, 0}, 1, 0}, // Windows 2000
        {{OsPlatform::WindowsNt, 5, 1}, 5, 0}, // NT 5.1 (and this port)
        {{OsPlatform::WindowsNt, 5, 2}, 5, 0},  {{OsPlatform::WindowsNt, 4, 0}, 4, 0},
        {{OsPlatform::WindowsNt, 6, 0}, 0, 0},  {{OsPlatform::WindowsNt, 3, 51}, 0, 0},
        {{OsPlatform::Windows9x, 4, 0}, 2, 0},  // Windows 95
        {{OsPlatform::Windows9x, 4, 10}, 3, 0}, // Windows 98
        {{OsPlatform::Windows9x, 4, 90}, 3, 1}, // Windows Me
        {{OsPlatform::Win32s, 3, 1}, 0, 0},     {{OsPlatform::Other, 5, 1}, 0, 0},
    };
    for (const OsCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "platform " << static_cast<int>(c.version.platform) << " version "
                     << c.version.major << "." << c.version.minor);
        const OsClassification got = ClassifyOs(c.version);
        EXPECT_EQ(c.osClass, got.osClass);
        EXPECT_EQ(c.winMe, got.winMe);
    }
}

TEST(OsClass, SettingsPathReplacesOnlyTheFileExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/skerrin", "/usr/bin/skerrin.bin"},
        {"/opt/a.b/c.d.exe", "/opt/a.b/c.d.bin"},
        {"/opt/.hidden", "/opt/.hidden.bin"},
        {"skerrin", "skerrin.bin"},
    };
    for (const auto& [module, settings] : cases) {
        EXPECT_EQ(settings, SettingsPathFor(module)) << module;
    }
}

} // namespace
