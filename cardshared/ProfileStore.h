// The profile store: one file per profile below the profile root, which
// lies below the world folder, and one file naming the active profile.
#pragma once

#include "device/tavl.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace cardsim {

inline constexpr const char* kDefaultProfileRoot = "Corvane/Profile";
inline constexpr const char* kActiveFileName = "active";

class ProfileStore {
public:
    // The world folder the root lies below; a change forgets what was
    // cached of the old one.
    void SetWorldFolder(const std::string& folder);

    // Takes a root such as "Corvane\Profile": '\' and '/' separate folders,
    // "." and ".." are refused, so the root stays below the world folder.
    std::int32_t SetRoot(const char* root);
    const std::string& Root() const { return root_; }
    std::string Folder() const;

    // The active profile's name: the stored spelling when the profile
    // exists, else the spelling it was made active with.
    // TAVL_PROFILE_NONE_ACTIVE when none is.
    std::int32_t GetActive(std::string& name);
    std::int32_t SetActive(std::string_view name);
    // The name at `index` in the order of names with case ignored;
    // TAVL_PROFILE_ENUM_END past the last one.
    std::int32_t Enumerate(std::int32_t index, std::string& name);
    // Deletes the profile; when it was the active one, none is active.
    std::int32_t Delete(std::string_view name);
    std::int32_t Load(std::string_view name, WirelessReg& reg);
    // Stores under `name`, or under the active profile when `name` is null.
    // An existing profile keeps the spelling of its first store.
    std::int32_t Store(const char* name, const WirelessReg& reg);

    // Every readable profile's name, in enumeration order.
    const std::vector<std::string>& Names();

private:
    std::int32_t PrepareFolder();
    void Forget() { listingValid_ = false; }

    std::string worldFolder_;
    std::string root_ = kDefaultProfileRoot;
    bool listingValid_ = false;
    timespec listingTime_{};
    ino_t listingInode_ = 0;
    std::vector<std::string> names_;
};

// Copies a stored name into a caller's buffer of the profile calls: never
// more than TAVL_NAME_BUFFER_MIN bytes with the terminator. Stored names
// always fit.
void CopyProfileName(char* buffer, const std::string& name);

} // namespace cardsim
