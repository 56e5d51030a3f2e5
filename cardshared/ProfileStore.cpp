#include "cardshared/ProfileStore.h"

#include "cardshared/Files.h"
#include "cardshared/ProfileFile.h"
#include "cardshared/Results.h"
#include "cardshared/Text.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cardsim {

namespace {

constexpr std::size_t kRootMax = TAVL_PATH_BUFFER_SIZE;
constexpr std::size_t kProfileFileMax = 4096;

// TAVL_SIM_CRASH stops the process at a point of a profile save, for the
// tests that prove a crash never leaves a broken profile behind:
// "profile-half-written" or "profile-before-rename".
void CrashHook(SavePoint point) {
    const char* wanted = std::getenv("TAVL_SIM_CRASH");
    if (wanted == nullptr) {
        return;
    }
    const char* here =
        point == SavePoint::HalfWritten ? "profile-half-written" : "profile-before-rename";
    if (std::strcmp(wanted, here) == 0) {
        raise(SIGKILL);
    }
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool LessFolded(const std::string& a, const std::string& b) {
    const std::string fa = FoldCase(a);
    const std::string fb = FoldCase(b);
    return fa != fb ? fa < fb : a < b;
}

} // namespace

void ProfileStore::SetWorldFolder(const std::string& folder) {
    worldFolder_ = folder;
    Forget();
}

std::int32_t ProfileStore::SetRoot(const char* root) {
    if (root == nullptr || std::strlen(root) >= kRootMax) {
        return kInvalidArgument;
    }
    std::string mapped;
    std::string_view rest = root;
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, cut);
        rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
        if (part.empty()) {
            continue;
        }
        if (part == "." || part == "..") {
            return kInvalidArgument;
        }
        mapped += (mapped.empty() ? "" : "/") + std::string(part);
    }
    if (mapped.empty()) {
        return kInvalidArgument;
    }
    root_ = mapped;
    Forget();
    // Setting the root opens the store: what interrupted saves left there
    // and in the world folder goes.
    RemoveStaleTemporaries(Folder());
    RemoveStaleTemporaries(worldFolder_);
    return kOk;
}

std::string ProfileStore::Folder() const {
    return worldFolder_ + "/" + root_;
}

std::int32_t ProfileStore::PrepareFolder() {
    const std::string folder = Folder();
    if (!MakeFolders(folder, 0700) || chmod(folder.c_str(), 0700) != 0) {
        return kStorageError;
    }
    return kOk;
}

std::int32_t ProfileStore::GetActive(std::string& name) {
    std::string stored;
    if (!ReadWholeFile(Folder() + "/" + kActiveFileName, stored, TAVL_NAME_BUFFER_MIN) ||
        !ValidProfileName(stored)) {
        return TAVL_PROFILE_NONE_ACTIVE;
    }
    name = stored;
    std::string data;
    WirelessReg reg{};
    std::string spelling;
    if (ReadWholeFile(Folder() + "/" + ProfileFileName(stored), data, kProfileFileMax) &&
        DecodeProfile(data, spelling, reg) && EqualsFolded(spelling, stored)) {
        name = spelling;
    }
    return kOk;
}

std::int32_t ProfileStore::SetActive(std::string_view name) {
    if (!ValidProfileName(name)) {
        return kInvalidArgument;
    }
    if (const std::int32_t prepared = PrepareFolder(); prepared != kOk) {
        return prepared;
    }
    return WriteFileAtomically(Folder() + "/" + kActiveFileName, name, 0600, true) ? kOk
                                                                                   : kStorageError;
}

std::int32_t ProfileStore::Enumerate(std::int32_t index, std::string& name) {
    const std::vector<std::string>& names = Names();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        return TAVL_PROFILE_ENUM_END;
    }
    name = names[static_cast<std::size_t>(index)];
    return kOk;
}

std::int32_t ProfileStore::Delete(std::string_view name) {
    if (!ValidProfileName(name)) {
        return kInvalidArgument;
    }
    std::string active;
    const bool wasActive = GetActive(active) == kOk && EqualsFolded(active, name);
    Forget();
    if (unlink((Folder() + "/" + ProfileFileName(name)).c_str()) != 0) {
        return errno == ENOENT ? kNotFound : kStorageError;
    }
    if (wasActive) {
        unlink((Folder() + "/" + kActiveFileName).c_str());
    }
    return kOk;
}

std::int32_t ProfileStore::Load(std::string_view name, WirelessReg& reg) {
    if (!ValidProfileName(name)) {
        return kInvalidArgument;
    }
    std::string data;
    errno = 0;
    if (!ReadWholeFile(Folder() + "/" + ProfileFileName(name), data, kProfileFileMax)) {
        return errno == ENOENT ? kNotFound : kCorruptProfile;
    }
    std::string stored;
    WirelessReg loaded{};
    if (!DecodeProfile(data, stored, loaded) || !EqualsFolded(stored, name)) {
        return kCorruptProfile;
    }
    reg = loaded;
    return kOk;
}

std::int32_t ProfileStore::Store(const char* name, const WirelessReg& reg) {
    std::string target;
    if (name == nullptr) {
        if (GetActive(target) != kOk) {
            return TAVL_PROFILE_NONE_ACTIVE;
        }
    } else {
        target = name;
    }
    if (!ValidProfileName(target)) {
        return kInvalidArgument;
    }
    if (const std::int32_t prepared = PrepareFolder(); prepared != kOk) {
        return prepared;
    }
    const std::string path = Folder() + "/" + ProfileFileName(target);
    std::string data;
    std::string spelling;
    WirelessReg old{};
    if (ReadWholeFile(path, data, kProfileFileMax) && DecodeProfile(data, spelling, old) &&
        EqualsFolded(spelling, target)) {
        target = spelling;
    }
    Forget();
    return WriteFileAtomically(path, EncodeProfile(target, reg), 0600, true, CrashHook)
               ? kOk
               : kStorageError;
}

const std::vector<std::string>& ProfileStore::Names() {
    const std::string folder = Folder();
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        names_.clear();
        listingValid_ = false;
        return names_;
    }
    if (listingValid_ && SameTime(info.st_mtim, listingTime_) && info.st_ino == listingInode_) {
        return names_;
    }
    names_.clear();
    if (DIR* dir = opendir(folder.c_str()); dir != nullptr) {
        while (const dirent* entry = readdir(dir)) {
            const std::string_view file = entry->d_name;
            const std::string_view suffix = kProfileSuffix;
            if (file.empty() || file.front() == '.' || file.size() <= suffix.size() ||
                file.substr(file.size() - suffix.size()) != suffix) {
                continue;
            }
            std::string data;
            std::string stored;
            WirelessReg reg{};
            if (ReadWholeFile(folder + "/" + std::string(file), data, kProfileFileMax) &&
                DecodeProfile(data, stored, reg) && ProfileFileName(stored) == file) {
                names_.push_back(std::move(stored));
            }
        }
        closedir(dir);
    }
    std::sort(names_.begin(), names_.end(), LessFolded);
    listingValid_ = true;
    listingTime_ = info.st_mtim;
    listingInode_ = info.st_ino;
    return names_;
}

void CopyProfileName(char* buffer, const std::string& name) {
    const std::size_t n =
        name.size() < TAVL_NAME_BUFFER_MIN ? name.size() : TAVL_NAME_BUFFER_MIN - 1;
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
}

} // namespace cardsim
