#include "device/PassphraseKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

// The 64-bit generator's state for the 20 key bytes comes from the seed's
// low three bytes only; these vectors were worked out from the generator's
// definition, outside this code. The 128-bit key is the same four times.
struct Vector {
    std::string passphrase;
    WepKeyTexts keys64;
    const char* key128;
};

// "abcdefghij" repeated, cut to the length under test.
std::string Pattern(std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += "abcdefghij";
    }
    return text.substr(0, length);
}

const Vector kVectors[] = {
    {"a", {"63CACE42D9", "F201F42A09", "D275059AF9", "B4721C60FD"}, "014842D480B571495A4A036379"},
    {"secret",
     {"C93CA31ECA", "DC1124096F", "AF8C5062BF", "DD15219276"},
     "1C064922046D6517DFEF3B7EF3"},
    {"The quick brown fox jumps over the lazy dog",
     {"5ACA35B234", "3062494E81", "D30626111F", "74276D2B34"},
     "AB270277110B49C135EDDBA8C3"},
    // 8-bit characters enter as their byte values.
    {"\xff",
     {"67935AD6DF", "79F846EA87", "89A4DCCAB3", "8E2DED461F"},
     "AABD2B2A451504E119A243D8E7"},
    // The 128-bit key repeats the passphrase to 64 bytes and ignores the
    // rest; the 64-bit seed folds every byte in.
    {Pattern(64),
     {"226429A96D", "4583EDF10D", "708F0FE58C", "8B63515C27"},
     "F18945EB18AF1FC5765C1DE6D7"},
    {Pattern(65),
     {"6CF92364D9", "7C78064773", "15F08AF00D", "F7ECA4A35F"},
     "F18945EB18AF1FC5765C1DE6D7"},
    {Pattern(127),
     {"37DD5A0741", "BFF1CBA1E2", "026897D4F4", "7AE69BC4DD"},
     "F18945EB18AF1FC5765C1DE6D7"},
};

TEST(PassphraseKeys, KeysMatchTheWorkedVectors) {
    for (const Vector& v : kVectors) {
        EXPECT_EQ(v.keys64, MakePassphraseKeys(v.passphrase, kWepKeyBytes64)) << v.passphrase;
        EXPECT_EQ((WepKeyTexts{v.key128, v.key128, v.key128, v.key128}),
                  MakePassphraseKeys(v.passphrase, kWepKeyBytes128))
            << v.passphrase;
    }
}

TEST(PassphraseKeys, NoPassphraseOrAnUnknownKeyLengthGivesNoKeys) {
    EXPECT_EQ(WepKeyTexts{}, MakePassphraseKeys("", kWepKeyBytes64));
    EXPECT_EQ(WepKeyTexts{}, MakePassphraseKeys("", kWepKeyBytes128));
    for (std::size_t length : {0u, 4u, 6u, 16u}) {
        EXPECT_EQ(WepKeyTexts{}, MakePassphraseKeys("secret", length)) << length;
    }
}

} // namespace
