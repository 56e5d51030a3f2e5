#include "platform/OsVersionSource.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

OsVersion ParseOsVersion(const char* text) {
    OsVersion nt51{OsPlatform::WindowsNt, 5, 1};
    if (text == nullptr) {
        return nt51;
    }
    char family[16] = {};
    unsigned major = 0;
    unsigned minor = 0;
    if (std::sscanf(text, "%15[a-z0-9]:%u.%u", family, &major, &minor) != 3) {
        return nt51;
    }
    OsVersion version{OsPlatform::Other, major, minor};
    if (std::strcmp(family, "nt") == 0) {
        version.platform = OsPlatform::WindowsNt;
    } else if (std::strcmp(family, "9x") == 0) {
        version.platform = OsPlatform::Windows9x;
    } else if (std::strcmp(family, "win32s") == 0) {
        version.platform = OsPlatform::Win32s;
    }
    return version;
}

OsVersion CurrentOsVersion() {
    return ParseOsVersion(std::getenv("SKERRIN_OS_VERSION"));
}
