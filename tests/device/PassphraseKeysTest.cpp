#include "device/PassphraseKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

// The 64-bit generator's state for the 20 key bytes comes from the seed's
// low three bytes only; these vectors were worked out from the generator's
// definition, outside this code.
struct Vector64 {
    std::string passphrase;
    WepKeyTexts keys;
};

const Vector64 kVectors64[] = {
    {"a", {"63CACE42D9", "F201F42A09", "D275059AF9", "B4721C60FD"}},
    {"x", {"AE78CA328C", "BCA3F4A1AC", "886A0F30CD", "6CE080DB88"}},
    {"secret", {"C93CA31ECA", "DC1124096F", "AF8C5062BF", "DD15219276"}},
    {"Corvane", {"94E44B053C", "D30387F627", "C351B3DA2B", "D62E8FE469"}},
    {"p@ss W0rd!", {"5EB9D08528", "E8DECE3453", "324F7C58C6", "E8F07D19EE"}},
    {"The quick brown fox jumps over the lazy dog",
     {"5ACA35B234", "3062494E81", "D30626111F", "74276D2B34"}},
    // 8-bit characters enter as their byte values.
    {"caf\xe9", {"FAC53FF554", "E1AF91F9C5", "C259DAB679", "DD99D9328E"}},
    {"\xff", {"67935AD6DF", "79F846EA87", "89A4DCCAB3", "8E2DED461F"}},
};

struct Vector128 {
    std::string passphrase;
    const char* key;
};

const Vector128 kVectors128[] = {
    {"a", "014842D480B571495A4A036379"},
    {"x", "C1BB4F81D892B2D57947682AEB"},
    {"secret", "1C064922046D6517DFEF3B7EF3"},
    {"Corvane", "0BF5D47F98BD52E20AC91F5A3F"},
    {"p@ss W0rd!", "2F3A2C8AFB9319FAFB349AC5C2"},
    {"The quick brown fox jumps over the lazy dog", "AB270277110B49C135EDDBA8C3"},
    {"caf\xe9", "6B15039BAB4F3F2D512C73E17D"},
    {"\xff", "AABD2B2A451504E119A243D8E7"},
};

// "abcdefghij" repeated, cut to the length under test.
std::string Pattern(std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += "abcdefghij";
    }
    return text.substr(0, length);
}

TEST(PassphraseKeys, Keys64MatchTheWorkedVectors) {
    for (const Vector64& v : kVectors64) {
        EXPECT_EQ(v.keys, MakePassphraseKeys(v.passphrase, kWepKeyBytes64)) << v.passphrase;
    }
}

TEST(PassphraseKeys, Keys128MatchTheWorkedVectorsAndAreFourEqualKeys) {
    for (const Vector128& v : kVectors128) {
        const WepKeyTexts keys = MakePassphraseKeys(v.passphrase, kWepKeyBytes128);
        EXPECT_EQ((WepKeyTexts{v.key, v.key, v.key, v.key}), keys) << v.passphrase;
    }
}

TEST(PassphraseKeys, PassphrasesAroundTheLengthLimits) {
    const struct {
        std::size_t length;
        WepKeyTexts keys64;
        const char* key128;
    } cases[] = {
        {1, {"63CACE42D9", "F201F42A09", "D275059AF9", "B4721C60FD"}, "014842D480B571495A4A036379"},
        {64,
         {"226429A96D", "4583EDF10D", "708F0FE58C", "8B63515C27"},
         "F18945EB18AF1FC5765C1DE6D7"},
        {65,
         {"6CF92364D9", "7C78064773", "15F08AF00D", "F7ECA4A35F"},
         "F18945EB18AF1FC5765C1DE6D7"},
        {99,
         {"4932CB35CD", "307492E597", "7241234282", "14DAC44149"},
         "F18945EB18AF1FC5765C1DE6D7"},
        {127,
         {"37DD5A0741", "BFF1CBA1E2", "026897D4F4", "7AE69BC4DD"},
         "F18945EB18AF1FC5765C1DE6D7"},
    };
    for (const auto& c : cases) {
        const std::string passphrase = Pattern(c.length);
        EXPECT_EQ(c.keys64, MakePassphraseKeys(passphrase, kWepKeyBytes64)) << c.length;
        EXPECT_EQ(c.key128, MakePassphraseKeys(passphrase, kWepKeyBytes128)[0]) << c.length;
    }
}

TEST(PassphraseKeys, OneCharacterIsRepeatedSixtyFourTimesForThe128BitKey) {
    EXPECT_EQ(MakePassphraseKeys(std::string(64, 'a'), kWepKeyBytes128),
              MakePassphraseKeys("a", kWepKeyBytes128));
    EXPECT_EQ(MakePassphraseKeys("abab", kWepKeyBytes128),
              MakePassphraseKeys("ab", kWepKeyBytes128));
}

TEST(PassphraseKeys, BytesAfterTheSixtyFourthChangeOnlyThe64BitKeys) {
    const std::string first = Pattern(64) + "XYZ";
    const std::string second = Pattern(64) + "123";
    EXPECT_EQ(MakePassphraseKeys(first, kWepKeyBytes128),
              MakePassphraseKeys(second, kWepKeyBytes128));
    EXPECT_NE(MakePassphraseKeys(first, kWepKeyBytes64),
              MakePassphraseKeys(second, kWepKeyBytes64));
}

TEST(PassphraseKeys, FourBytesTwiceOverCancelInThe64BitSeed) {
    EXPECT_EQ(MakePassphraseKeys("secret", kWepKeyBytes64),
              MakePassphraseKeys("secretWXYZWXYZ", kWepKeyBytes64));
    EXPECT_NE(MakePassphraseKeys("secret", kWepKeyBytes128),
              MakePassphraseKeys("secretWXYZWXYZ", kWepKeyBytes128));
}

TEST(PassphraseKeys, NoPassphraseOrAnUnknownKeyLengthGivesNoKeys) {
    EXPECT_EQ(WepKeyTexts{}, MakePassphraseKeys("", kWepKeyBytes64));
    EXPECT_EQ(WepKeyTexts{}, MakePassphraseKeys("", kWepKeyBytes128));
    for (std::size_t length : {0u, 4u, 6u, 16u}) {
        EXPECT_EQ(WepKeyTexts{}, MakePassphraseKeys("secret", length)) << length;
    }
}

} // namespace
