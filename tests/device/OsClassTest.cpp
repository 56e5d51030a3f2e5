#include "device/OsClass.h"

#include <gtest/gtest.h>

namespace {

struct OsCase {
    OsVersion version;
    std::uint8_t osClass;
    std::uint32_t winMe;
};

class OsClassTable : public testing::TestWithParam<OsCase> {};

TEST_P(OsClassTable, ClassifiesTheVersion) {
    const OsClassification got = ClassifyOs(GetParam().version);
    EXPECT_EQ(GetParam().osClass, got.osClass);
    EXPECT_EQ(GetParam().winMe, got.winMe);
}

INSTANTIATE_TEST_SUITE_P(
    OsClass, OsClassTable,
    testing::Values(
        OsCase{{OsPlatform::WindowsNt, 5, 0}, 1, 0}, // Windows 2000
        OsCase{{OsPlatform::WindowsNt, 5, 1}, 5, 0}, // NT 5.1 (and this port)
        OsCase{{OsPlatform::WindowsNt, 5, 2}, 5, 0}, OsCase{{OsPlatform::WindowsNt, 4, 0}, 4, 0},
        OsCase{{OsPlatform::WindowsNt, 6, 0}, 0, 0}, OsCase{{OsPlatform::WindowsNt, 3, 51}, 0, 0},
        OsCase{{OsPlatform::Windows9x, 4, 0}, 2, 0},  // Windows 95
        OsCase{{OsPlatform::Windows9x, 4, 10}, 3, 0}, // Windows 98
        OsCase{{OsPlatform::Windows9x, 4, 90}, 3, 1}, // Windows Me
        OsCase{{OsPlatform::Win32s, 3, 1}, 0, 0}, OsCase{{OsPlatform::Other, 5, 1}, 0, 0}));

struct PathCase {
    const char* module;
    const char* settings;
};

class SettingsPathTable : public testing::TestWithParam<PathCase> {};

TEST_P(SettingsPathTable, ReplacesOnlyTheFileExtension) {
    EXPECT_EQ(GetParam().settings, SettingsPathFor(GetParam().module));
}

INSTANTIATE_TEST_SUITE_P(OsClass, SettingsPathTable,
                         testing::Values(PathCase{"/usr/bin/skerrin", "/usr/bin/skerrin.bin"},
                                         PathCase{"/home/u/.local/bin/skerrin",
                                                  "/home/u/.local/bin/skerrin.bin"},
                                         PathCase{"/opt/v1.2/skerrin.exe", "/opt/v1.2/skerrin.bin"},
                                         PathCase{"/opt/a.b/c.d.exe", "/opt/a.b/c.d.bin"},
                                         PathCase{"/opt/.hidden", "/opt/.hidden.bin"},
                                         PathCase{"skerrin", "skerrin.bin"}));

} // namespace
