#include "pages/EncryptionKeys.h"

#include <gtest/gtest.h>

namespace {

QString L1(const char* text) {
    return QString::fromLatin1(text);
}

TEST(EncryptionKeys, HexToAsciiReadsWholePairsUpToTheKeyLength) {
    const struct {
        const char* hex;
        int keyBytes;
        const char* ascii;
    } cases[] = {
        {"4142434445", 5, "ABCDE"},
        {"61626364656667", 5, "abcde"}, // longer texts: the key's pairs only
        {"3a9C17e05B", 5, "\x3A\x9C\x17\xE0\x5B"},
        {"4142004445", 5, "AB"}, // a zero byte ends the text
        {"414", 5, "A"},         // a half pair is not read
        {"41", 13, "A"},
        {"41zz42", 5, "A"}, // "zz" counts as zero
        {"g541", 5,
         "\x05"
         "A"}, // a digit beside another character counts alone
    };
    for (const auto& c : cases) {
        EXPECT_EQ(L1(c.ascii), HexKeyToAscii(L1(c.hex), c.keyBytes)) << c.hex;
    }
}

TEST(EncryptionKeys, AsciiToHexWritesTwoCapitalsPerCharacter) {
    const struct {
        QString ascii;
        int keyBytes;
        const char* hex;
    } cases[] = {
        {L1("hello"), 5, "68656C6C6F"},
        {L1("hello world"), 5, "68656C6C6F"},
        {L1("hi"), 13, "6869"},
        {L1("\xe9\xff\x01 "), 5, "E9FF0120"},
        {QString::fromUtf16(u"ab\u20accd"), 5, "6162"}, // not a key byte: the key ends
        {QString(QChar(0)) + L1("ab"), 5, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(L1(c.hex), AsciiKeyToHex(c.ascii, c.keyBytes)) << c.hex;
    }
}

} // namespace
