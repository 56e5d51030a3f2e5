#include "pages/ConfigProfileNames.h"

#include <algorithm>
#include <cstring>

namespace {

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// <0, 0, >0 with the case of ASCII letters ignored.
int CompareFolded(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = FoldAscii(a[i].unicode());
        const char16_t y = FoldAscii(b[i].unicode());
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

bool SameProfileName(const QString& a, const QString& b) {
    return CompareFolded(a, b) == 0;
}

bool ProfileNameLess(const QString& a, const QString& b) {
    const int folded = CompareFolded(a, b);
    return folded != 0 ? folded < 0 : a < b;
}

int FindProfileName(const QStringList& names, const QString& name) {
    for (int i = 0; i < names.size(); ++i) {
        if (SameProfileName(names[i], name)) {
            return i;
        }
    }
    return -1;
}

int ProfileInsertPosition(const QStringList& names, const QString& name) {
    int at = 0;
    while (at < names.size() && !ProfileNameLess(name, names[at])) {
        ++at;
    }
    return at;
}

QByteArray ProfileNameFieldBytes(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    if (static_cast<std::size_t>(bytes.size()) <= kProfileNameFieldBytes) {
        return bytes;
    }
    // Back off from the cut over continuation bytes (10xxxxxx) to the first
    // byte of the character the cut would split.
    qsizetype cut = static_cast<qsizetype>(kProfileNameFieldBytes);
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return bytes.left(cut);
}

QString FirstCharacters(const QString& text, int maxChars) {
    qsizetype end = 0;
    for (int count = 0; end < text.size() && count < maxChars; ++count) {
        end +=
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()
                ? 2
                : 1;
    }
    return text.left(end);
}

int FirstNonAsciiChar(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() >= 0x80) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QByteArray SsidFieldBytes(const QString& ssid) {
    const int bad = FirstNonAsciiChar(ssid);
    const QString accepted = bad < 0 ? ssid : ssid.left(bad);
    return accepted.left(kSsidMaxChars).toLatin1();
}

QString SsidFromField(const char* field, std::size_t size) {
    const void* end = std::memchr(field, '\0', size);
    const std::size_t length =
        end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size;
    return QString::fromLatin1(field, static_cast<qsizetype>(length)).left(kSsidMaxChars);
}
