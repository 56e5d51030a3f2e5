#include "platform/FileVersion.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kStampSection = ".note.skerrin.version";
constexpr std::uint32_t kStampType = 0x56455253u;
// The note's name field, terminator included.
constexpr std::string_view kStampName{"Skerrin\0", 8};
constexpr std::size_t kStampDescSize = 16;

std::uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Closes the descriptor and ends the ELF handle when the read is done.
class ElfFile {
public:
    explicit ElfFile(int fd) : fd_(fd) {
        if (fd_ >= 0) {
            elf_ = elf_begin(fd_, ELF_C_READ, nullptr);
        }
    }
    ~ElfFile() {
        if (elf_ != nullptr) {
            elf_end(elf_);
        }
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    Elf* Get() const { return elf_; }

private:
    int fd_;
    Elf* elf_ = nullptr;
};

std::optional<FileVersionNumbers> StampInNotes(Elf_Data* data) {
    GElf_Nhdr header;
    std::size_t nameOffset = 0;
    std::size_t descOffset = 0;
    std::size_t offset = 0;
    while (data->d_buf != nullptr && offset < data->d_size) {
        const std::size_t next = gelf_getnote(data, offset, &header, &nameOffset, &descOffset);
        if (next == 0) {
            break;
        }
        const auto* bytes = static_cast<const unsigned char*>(data->d_buf);
        if (header.n_type == kStampType && header.n_namesz == kStampName.size() &&
            header.n_descsz == kStampDescSize &&
            std::memcmp(bytes + nameOffset, kStampName.data(), kStampName.size()) == 0) {
            FileVersionNumbers version;
            for (std::size_t i = 0; i < version.size(); ++i) {
                version[i] = ReadLittleEndian32(bytes + descOffset + 4 * i);
            }
            return version;
        }
        offset = next;
    }
    return std::nullopt;
}

} // namespace

std::optional<FileVersionNumbers> ReadFileVersion(const std::string& path) {
    if (elf_version(EV_CURRENT) == EV_NONE) {
        return std::nullopt;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ElfFile file(fd);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    if (file.Get() == nullptr || elf_kind(file.Get()) != ELF_K_ELF) {
        return std::nullopt;
    }
    std::size_t namesIndex = 0;
    if (elf_getshdrstrndx(file.Get(), &namesIndex) != 0) {
        return std::nullopt;
    }
    for (Elf_Scn* section = elf_nextscn(file.Get(), nullptr); section != nullptr;
         section = elf_nextscn(file.Get(), section)) {
        GElf_Shdr header;
        if (gelf_getshdr(section, &header) == nullptr || header.sh_type != SHT_NOTE) {
            continue;
        }
        const char* name = elf_strptr(file.Get(), namesIndex, header.sh_name);
        if (name == nullptr || std::strcmp(name, kStampSection) != 0) {
            continue;
        }
        for (Elf_Data* data = elf_getdata(section, nullptr); data != nullptr;
             data = elf_getdata(section, data)) {
            if (auto version = StampInNotes(data)) {
                return version;
            }
        }
    }
    return std::nullopt;
}

std::string FileVersionText(const FileVersionNumbers& version) {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", version[0], version[1], version[2], version[3]);
    return text;
}

bool GetFileVersionText(const std::string& path, std::string& text) {
    const auto version = ReadFileVersion(path);
    if (!version) {
        return false;
    }
    text = FileVersionText(*version);
    return true;
}
