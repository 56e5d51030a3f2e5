// Formatting helpers shared by the fake card library's source files.
#pragma once

#include "device/tavl.h"

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace fake {

inline constexpr std::int32_t kFailed = -1;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

inline std::string Format(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    return line;
}

// A name argument as the log shows it: quoted, or (null).
inline std::string NameText(const char* name) {
    return name != nullptr ? Format("\"%s\"", name) : std::string("(null)");
}

// Copies `text` into a name buffer of `size` bytes, cut and terminated.
inline void WriteName(char* buffer, std::size_t size, const std::string& text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

} // namespace fake
