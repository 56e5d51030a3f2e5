#include "device/PrivateProfile.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string_view Trim(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// One pair of enclosing quotes, double or single, is not part of the value.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string Cut(std::string_view value, std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    return std::string(value.substr(0, bufferSize - 1));
}

} // namespace

std::string PrivateProfileValue(const std::string& text, const std::string& section,
                                const std::string& entry, const std::string& defaultValue,
                                std::size_t bufferSize) {
    std::string_view rest(text);
    bool inSection = false;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = Trim(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                inSection = SameName(Trim(line.substr(1, close - 1)), section);
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        if (SameName(Trim(line.substr(0, equals)), entry)) {
            return Cut(Unquote(Trim(line.substr(equals + 1))), bufferSize);
        }
    }
    return Cut(defaultValue, bufferSize);
}

std::string GetPrivateProfileString(const std::string& section, const std::string& entry,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& path) {
    // Opened without blocking, so a FIFO or a device there cannot hold the
    // caller; only a regular file is read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return Cut(defaultValue, bufferSize);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Cut(defaultValue, bufferSize);
    }
    std::string text(kPrivateProfileMaxBytes, '\0');
    std::size_t have = 0;
    while (have < text.size()) {
        const ssize_t n = read(fd, text.data() + have, text.size() - have);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        have += static_cast<std::size_t>(n);
    }
    close(fd);
    text.resize(have);
    return PrivateProfileValue(text, section, entry, defaultValue, bufferSize);
}
