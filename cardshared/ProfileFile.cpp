#include "cardshared/ProfileFile.h"

#include "cardshared/Text.h"

#include <cstring>

namespace cardsim {

namespace {

constexpr char kMagic[8] = {'T', 'A', 'V', 'L', 'P', 'R', 'F', '1'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::size_t kFileNameMax = 255;

void PutWord(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint32_t GetWord(std::string_view data, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value =
            (value << 8) | static_cast<std::uint8_t>(data[offset + static_cast<std::size_t>(i)]);
    }
    return value;
}

} // namespace

bool ValidProfileName(std::string_view name) {
    if (name.empty() || name.size() >= TAVL_NAME_BUFFER_MIN ||
        name.find('\0') != std::string_view::npos) {
        return false;
    }
    std::size_t characters = 0;
    for (const char c : name) {
        if ((static_cast<std::uint8_t>(c) & 0xC0) != 0x80) {
            ++characters;
        }
    }
    return characters <= TAVL_PROFILE_NAME_MAX && ProfileFileName(name).size() <= kFileNameMax;
}

std::string ProfileFileName(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string file;
    file.reserve(name.size() + 8);
    for (const char raw : name) {
        const char c = FoldAscii(raw);
        const auto u = static_cast<std::uint8_t>(c);
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || u >= 0x80) {
            file.push_back(c);
        } else {
            file.push_back('%');
            file.push_back(kHex[u >> 4]);
            file.push_back(kHex[u & 15]);
        }
    }
    return file + kProfileSuffix;
}

std::string EncodeProfile(std::string_view name, const WirelessReg& reg) {
    std::string out(kMagic, sizeof kMagic);
    PutWord(out, kFormatVersion);
    PutWord(out, static_cast<std::uint32_t>(name.size()));
    out.append(name);
    PutWord(out, sizeof(WirelessReg));
    out.append(reinterpret_cast<const char*>(&reg), sizeof reg);
    PutWord(out, Crc32(out));
    return out;
}

bool DecodeProfile(std::string_view data, std::string& name, WirelessReg& reg) {
    constexpr std::size_t kHead = sizeof kMagic + 8;
    if (data.size() < kHead || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0 ||
        GetWord(data, 8) != kFormatVersion) {
        return false;
    }
    const std::uint32_t nameLength = GetWord(data, 12);
    if (nameLength == 0 || nameLength >= TAVL_NAME_BUFFER_MIN) {
        return false;
    }
    const std::size_t recordAt = kHead + nameLength + 4;
    if (data.size() != recordAt + sizeof(WirelessReg) + 4 ||
        GetWord(data, kHead + nameLength) != sizeof(WirelessReg)) {
        return false;
    }
    const std::size_t crcAt = recordAt + sizeof(WirelessReg);
    if (GetWord(data, crcAt) != Crc32(data.substr(0, crcAt))) {
        return false;
    }
    const std::string_view storedName = data.substr(kHead, nameLength);
    if (!ValidProfileName(storedName)) {
        return false;
    }
    name = std::string(storedName);
    std::memcpy(&reg, data.data() + recordAt, sizeof reg);
    return true;
}

std::uint32_t Crc32(std::string_view data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

} // namespace cardsim
