// The Encryption page's controls: what each stored level and entry mode
// shows, masking, the passphrase field and re-arrangements; and the
// conversions between hexadecimal and ASCII key texts.
#include "PageHarness.h"

#include "device/PassphraseKeys.h"
#include "pages/EncryptionKeys.h"

namespace {

using P = CEncryptionPage;
using Groups = std::vector<std::string>;

// The entry modes as the stored record gives them, at both levels, and
// Disabled, which leaves only the level list and the buttons; the key labels
// name the key fields on show. Keys and passphrase are masked, and ASCII
// fields show the stored keys as stars.
TEST(EncryptionPage, EachLevelAndEntryModeShowsItsControls) {
    const struct {
        std::uint32_t level, mode;
        const char* look; // passphrase, manual, ASCII checked; then enabled
        const char* group;
        const int* shown;
        int typable; // key fields of the group shown that take typing
    } cases[] = {
        {1, 1, "P-- P-DT-L", "hex-64", P::kHex64, 0},
        {2, 1, "P-- P-DT-L", "hex-128", P::kHex128, 0},
        {1, 2, "-M- -ADTKL", "hex-64", P::kHex64, 4},
        {2, 2, "-M- -ADTKL", "hex-128", P::kHex128, 4},
        {1, 3, "-MA -ADTKL", "ASCII-64", P::kAscii64, 4},
        {2, 3, "-MA -ADTKL", "ASCII-128", P::kAscii128, 4},
        {0, 1, "P-- ------", "hex-128", P::kHex128, 0},
        {0, 2, "-M- ------", "hex-128", P::kHex128, 0},
        {0, 3, "-MA ------", "ASCII-128", P::kAscii128, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " mode " << c.mode);
        WirelessReg reg = WepReg(c.level, c.mode);
        SetFieldText(reg.passphrase, "secret");
        PageHarness h(reg);
        EXPECT_TRUE(h.Control<CKeyEdit>(P::kPassphraseEdit)->HasPasswordChar());
        std::string look;
        for (const auto& [id, mark] : {std::pair<int, char>{P::kPassphraseRadio, 'P'},
                                       {P::kManualRadio, 'M'},
                                       {P::kAsciiBox, 'A'}}) {
            look += h.Checked(id) ? mark : '-';
        }
        look += ' ';
        for (const auto& [id, mark] : {std::pair<int, char>{P::kPassphraseEdit, 'P'},
                                       {P::kAsciiBox, 'A'},
                                       {P::kDefaultKeyList, 'D'},
                                       {P::kDefaultKeyLabel, 'T'},
                                       {P::kKeyLabels[0], 'K'},
                                       {P::kKeyEntryGroup, 'L'}}) {
            look += h.Enabled(id) ? mark : '-';
        }
        EXPECT_EQ(c.look, look);
        // Disabled shows the group of the last level arranged, 128 bits at
        // first, every key field disabled.
        EXPECT_EQ(Groups{c.group}, h.ShownGroups());
        EXPECT_EQ(static_cast<int>(c.level), h.Index(P::kLevelList));
        EXPECT_EQ(c.typable, h.EnabledKeys(c.shown));
        // Alt+1 to Alt+4 reach key 1 to 4 of the group on show.
        for (int n = 0; n < 4; ++n) {
            EXPECT_TRUE(c.level == 0 ||
                        h.Control(c.shown[n]) == h.Control<QLabel>(P::kKeyLabels[n])->buddy());
            EXPECT_TRUE(h.Control<CKeyEdit>(c.shown[n])->HasPasswordChar());
            EXPECT_TRUE(c.mode != 3 || h.Text(c.shown[n]) == QString(c.level == 1 ? 5 : 13, '*'));
        }
        EXPECT_TRUE(h.Enabled(P::kLevelList));
        EXPECT_FALSE(h.ChangesPending());
    }
}

// Keys shown while typing come from the first 99 characters; the field
// takes 127, and Apply makes the keys again from the whole passphrase.
TEST(EncryptionPage, PassphraseKeysWhileTypingAndOnApply) {
    const struct {
        std::uint32_t level;
        std::size_t bytes;
        const int* ids;
    } levels[] = {{1, 5, P::kHex64}, {2, 13, P::kHex128}};
    for (const auto& l : levels) {
        SCOPED_TRACE(l.level);
        PageHarness h(WepReg(l.level, 1));
        std::string passphrase;
        for (int i = 0; i < 130; ++i) {
            passphrase += static_cast<char>('a' + i % 26);
        }
        h.Type(P::kPassphraseEdit, QString::fromStdString(passphrase));
        passphrase.resize(127);
        EXPECT_EQ(QString::fromStdString(passphrase), h.Text(P::kPassphraseEdit));
        const WepKeyTexts typed = MakePassphraseKeys(passphrase.substr(0, 99), l.bytes);
        const WepKeyTexts whole = MakePassphraseKeys(passphrase, l.bytes);
        // While typing the 64-bit keys take 99 characters; the 128-bit
        // generator reads only the first 64 either way.
        EXPECT_EQ(l.bytes == 5, typed[0] != whole[0]);
        EXPECT_EQ(typed[3], h.Text(l.ids[3]).toStdString());
        h.Apply();
        ASSERT_EQ(1u, h.WlanCalls().size());
        EXPECT_EQ(whole[3], h.WlanCalls()[0].Key(3)->Hex());
        EXPECT_EQ(passphrase, FieldText(h.Reg().passphrase));
    }
}

// A stored level or transmit key the lists do not hold shows no choice, and
// every key control disabled for the level, until the user chooses one;
// the page then applies that level and key 1.
TEST(EncryptionPage, AStoredLevelOrTransmitKeyOutsideTheListsShowsNone) {
    const struct {
        std::uint32_t level;
        std::int32_t key;
        int list;
    } cases[] = {{3, 0, P::kLevelList}, {1, -1, P::kDefaultKeyList}, {1, 4, P::kDefaultKeyList}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " " << c.key);
        WirelessReg reg = WepReg(c.level, 2);
        reg.defaultKeyId = c.key;
        PageHarness h(reg);
        EXPECT_EQ(-1, h.Index(c.list));
        for (const int* ids : {P::kHex64, P::kAscii64, P::kHex128, P::kAscii128}) {
            EXPECT_TRUE(c.level != 3 || h.EnabledKeys(ids) == 0);
        }
        h.sheet->m_EncryptionPage.ApplyChanges();
        EXPECT_EQ(c.level, h.Reg().encryptionLevel);
        EXPECT_EQ(c.level == 3, h.WlanCalls().empty());
        h.Choose(P::kLevelList, 1);
        h.Apply();
        EXPECT_EQ(1u, h.Reg().encryptionLevel);
        EXPECT_EQ(0, h.Reg().defaultKeyId);
        ASSERT_FALSE(h.WlanCalls().empty());
        EXPECT_TRUE(h.WlanCalls().back().Key(0)->transmit);
    }
}

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
