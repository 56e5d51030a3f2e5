#include "device/OsClass.h"

OsClassification ClassifyOs(const OsVersion& version) {
    OsClassification result;
    switch (version.platform) {
    case OsPlatform::WindowsNt:
        if (version.major == 5) {
            result.osClass = version.minor == 0 ? 1 : 5;
        } else if (version.major == 4) {
            result.osClass = 4;
        }
        break;
    case OsPlatform::Windows9x:
        if (version.minor != 0) {
            result.osClass = 3;
            result.winMe = version.minor == 90 ? 1 : 0;
        } else {
            result.osClass = 2;
        }
        break;
    case OsPlatform::Win32s:
    case OsPlatform::Other:
        break;
    }
    return result;
}

std::string SettingsPathFor(const std::string& modulePath) {
    const std::size_t slash = modulePath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = modulePath.find_last_of('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot <= nameStart) {
        return modulePath + ".bin";
    }
    return modulePath.substr(0, dot) + ".bin";
}
