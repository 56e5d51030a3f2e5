#include "cardshared/DriverFile.h"

#include "cardshared/Files.h"

#include <cstring>
#include <elf.h>
#include <filesystem>

namespace cardsim {

namespace {

constexpr char kNoteSection[] = ".note.skerrin.version";
constexpr char kNameTable[] = ".shstrtab";
constexpr std::uint32_t kNoteType = 0x56455253;

struct VersionNote {
    Elf64_Nhdr header;
    char name[8];
    std::uint32_t version[4];
};
static_assert(sizeof(VersionNote) == 36);

template <typename T> void Append(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

std::string BuildDriverImage(const std::array<std::uint32_t, 4>& version) {
    // Section name table: "\0.note.skerrin.version\0.shstrtab\0".
    std::string names(1, '\0');
    const std::uint32_t noteName = static_cast<std::uint32_t>(names.size());
    names.append(kNoteSection, sizeof kNoteSection);
    const std::uint32_t tableName = static_cast<std::uint32_t>(names.size());
    names.append(kNameTable, sizeof kNameTable);

    const std::uint64_t noteOffset = sizeof(Elf64_Ehdr);
    const std::uint64_t namesOffset = noteOffset + sizeof(VersionNote);
    const std::uint64_t headersOffset = (namesOffset + names.size() + 7) & ~std::uint64_t{7};

    Elf64_Ehdr elf{};
    std::memcpy(elf.e_ident, ELFMAG, SELFMAG);
    elf.e_ident[EI_CLASS] = ELFCLASS64;
    elf.e_ident[EI_DATA] = ELFDATA2LSB;
    elf.e_ident[EI_VERSION] = EV_CURRENT;
    elf.e_ident[EI_OSABI] = ELFOSABI_SYSV;
    elf.e_type = ET_REL;
    elf.e_machine = EM_X86_64;
    elf.e_version = EV_CURRENT;
    elf.e_shoff = headersOffset;
    elf.e_ehsize = sizeof(Elf64_Ehdr);
    elf.e_shentsize = sizeof(Elf64_Shdr);
    elf.e_shnum = 3;
    elf.e_shstrndx = 2;

    VersionNote note{};
    note.header.n_namesz = 8;
    note.header.n_descsz = 16;
    note.header.n_type = kNoteType;
    std::memcpy(note.name, "Skerrin", 8);
    std::memcpy(note.version, version.data(), sizeof note.version);

    Elf64_Shdr sections[3]{};
    sections[1].sh_name = noteName;
    sections[1].sh_type = SHT_NOTE;
    sections[1].sh_flags = SHF_ALLOC;
    sections[1].sh_offset = noteOffset;
    sections[1].sh_size = sizeof(VersionNote);
    sections[1].sh_addralign = 4;
    sections[2].sh_name = tableName;
    sections[2].sh_type = SHT_STRTAB;
    sections[2].sh_offset = namesOffset;
    sections[2].sh_size = names.size();
    sections[2].sh_addralign = 1;

    std::string image;
    Append(image, elf);
    Append(image, note);
    image += names;
    image.resize(headersOffset, '\0');
    for (const Elf64_Shdr& section : sections) {
        Append(image, section);
    }
    return image;
}

bool EnsureDriverFile(const std::string& path, const std::array<std::uint32_t, 4>& version) {
    const std::string image = BuildDriverImage(version);
    std::string current;
    if (ReadWholeFile(path, current, image.size() + 1) && current == image) {
        return true;
    }
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && !MakeFolders(path.substr(0, slash), 0700)) {
        return false;
    }
    return WriteFileAtomically(path, image, 0644, false);
}

std::string RelativePath(const std::string& target, const std::string& from) {
    std::error_code error;
    const std::filesystem::path relative = std::filesystem::relative(target, from, error);
    return error ? std::string() : relative.string();
}

bool WriteDriverSettings(const std::string& folder, const WirelessReg& reg) {
    return MakeFolders(folder, 0700) &&
           WriteFileAtomically(folder + "/" + kDriverSettingsFileName,
                               {reinterpret_cast<const char*>(&reg), sizeof reg}, 0600, true);
}

} // namespace cardsim
