#include "pages/ConfigProfileStore.h"

#include "device/CardLibrary.h"
#include "device/Records.h"
#include "pages/ConfigProfileNames.h"

#include <cstring>
#include <string_view>

namespace {

constexpr int kMaxListedProfiles = 1024;

QString NameFromBuffer(char (&buffer)[TAVL_NAME_BUFFER_MIN]) {
    buffer[sizeof buffer - 1] = '\0';
    return QString::fromUtf8(buffer);
}

} // namespace

ProfileListing ListProfiles(CardLibrary& library) {
    ProfileListing listing;
    char buffer[TAVL_NAME_BUFFER_MIN];
    // The store answers 3 past its last profile. Any other failure ends
    // the list too, but leaves it unknown whether the store is empty.
    for (int index = 0; index < kMaxListedProfiles; ++index) {
        std::memset(buffer, 0, sizeof buffer);
        const std::int32_t listed = library.EnumProfilesByType(index, buffer, TAVL_PROFILE_TYPE);
        if (listed != 0) {
            listing.complete = listed == TAVL_PROFILE_ENUM_END;
            break;
        }
        const QString name = NameFromBuffer(buffer);
        if (!name.isEmpty() && FindProfileName(listing.names, name) < 0) {
            listing.names.insert(ProfileInsertPosition(listing.names, name), name);
        }
    }

    std::memset(buffer, 0, sizeof buffer);
    if (library.GetActiveProfileByType(buffer, TAVL_PROFILE_TYPE) == 0) {
        listing.active = NameFromBuffer(buffer);
    }
    return listing;
}

std::optional<WirelessReg> ReadProfile(CardLibrary& library, const QString& name,
                                       const WirelessReg& base) {
    WirelessReg record = base;
    if (library.GetProfileWireless(name.toUtf8().constData(), &record) != 0) {
        return std::nullopt;
    }
    const QByteArray field = ProfileNameFieldBytes(name);
    SetFieldText(record.profileName, std::string_view(field.constData(), field.size()));
    return record;
}

void RemoveProfile(CardLibrary& library, const QString& name, const QString& defaultName) {
    library.DeleteProfileByType(name.toUtf8().constData(), TAVL_PROFILE_TYPE);
    library.SetActiveProfileByType(defaultName.toUtf8().constData(), TAVL_PROFILE_TYPE);
}
