#include "EncryptionPageHarness.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

using P = CEncryptionPage;
using Groups = std::vector<std::string>;

// The entry modes as the stored record gives them, at both levels.
TEST(EncryptionPage, EachEntryModeShowsItsControls) {
    const struct {
        std::uint32_t mode;
        std::uint32_t level;
        bool passphrase, manual, ascii;
        const char* group;
        bool keysTypable;
    } cases[] = {
        {1, 1, true, false, false, "hex-64", false}, {1, 2, true, false, false, "hex-128", false},
        {2, 1, false, true, false, "hex-64", true},  {2, 2, false, true, false, "hex-128", true},
        {3, 1, false, true, true, "ASCII-64", true}, {3, 2, false, true, true, "ASCII-128", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " level " << c.level);
        EncryptionHarness h(WepReg(c.level, c.mode));
        EXPECT_EQ(c.passphrase, h.Checked(P::kPassphraseRadio));
        EXPECT_EQ(c.manual, h.Checked(P::kManualRadio));
        EXPECT_EQ(c.ascii, h.Checked(P::kAsciiBox));
        EXPECT_EQ(Groups{c.group}, h.ShownGroups());
        EXPECT_EQ(static_cast<int>(c.level), h.Index(P::kLevelList));
        const int* shown = c.level == 1 ? (c.ascii ? P::kAscii64 : P::kHex64)
                                        : (c.ascii ? P::kAscii128 : P::kHex128);
        EXPECT_EQ(c.keysTypable, h.GroupEnabled(shown));
        EXPECT_EQ(c.keysTypable, h.Enabled(P::kAsciiBox));
        EXPECT_EQ(c.keysTypable, h.Enabled(P::kKeyLabels[0]));
        EXPECT_EQ(!c.keysTypable, h.Enabled(P::kPassphraseEdit));
        EXPECT_TRUE(h.Enabled(P::kDefaultKeyList));
        EXPECT_TRUE(h.ChangeButtonsDisabled());
    }
}

TEST(EncryptionPage, DisabledLeavesOnlyTheLevelListAndTheButtons) {
    for (std::uint32_t mode : {1u, 2u, 3u}) {
        EncryptionHarness h(WepReg(0, mode));
        for (int id : {P::kPassphraseRadio, P::kManualRadio, P::kAsciiBox, P::kPassphraseEdit,
                       P::kDefaultKeyList, P::kDefaultKeyLabel, P::kKeyEntryGroup}) {
            EXPECT_FALSE(h.Enabled(id)) << id << " mode " << mode;
        }
        for (const KeyGroupIds& group : kKeyGroups) {
            EXPECT_TRUE(h.GroupDisabled(group.ids)) << group.name;
        }
        EXPECT_TRUE(h.Enabled(P::kLevelList));
        // The last level arranged decides the group shown, 128 bits at first.
        EXPECT_EQ(Groups{mode == 3 ? "ASCII-128" : "hex-128"}, h.ShownGroups());
    }
}

TEST(EncryptionPage, KeysAndPassphraseAreMaskedAndAsciiFieldsShowStars) {
    WirelessReg reg = WepReg(1, 3);
    SetFieldText(reg.passphrase, "secret");
    EncryptionHarness h(reg);
    for (const KeyGroupIds& group : kKeyGroups) {
        EXPECT_TRUE(h.GroupMasked(group.ids)) << group.name;
    }
    EXPECT_TRUE(h.Key(P::kPassphraseEdit)->HasPasswordChar());
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ("*****", h.Text(P::kAscii64[n]));
        EXPECT_EQ("*************", h.Text(P::kAscii128[n]));
    }
    // The real texts stay with the page: the default keys as characters.
    EXPECT_EQ(QString::fromLatin1("\x3A\x9C\x17\xE0\x5B"), h.page().m_KeyAscii64[0]);
}

TEST(EncryptionPage, KeysShownWhileTypingComeFromTheFirst99Characters) {
    EncryptionHarness h(WepReg(1, 1));
    std::string passphrase;
    for (int i = 0; i < 101; ++i) {
        passphrase += static_cast<char>('a' + i % 26);
    }
    h.Type(P::kPassphraseEdit, QString::fromStdString(passphrase));
    EXPECT_EQ(101, h.Text(P::kPassphraseEdit).size());
    EXPECT_EQ("1E81D32254", h.Text(P::kHex64[0]));
    EXPECT_EQ("511FE28398", h.Text(P::kHex64[3]));
    // Apply makes them again from the whole passphrase.
    h.Apply();
    ASSERT_EQ(1u, h.WlanCalls().size());
    EXPECT_EQ("9A2CC674AA", h.WlanCalls()[0].Key(0)->Hex());
    EXPECT_EQ("D0F208834D", h.WlanCalls()[0].Key(3)->Hex());
    EXPECT_EQ(passphrase, FieldText(h.Reg().passphrase));
}

TEST(EncryptionPage, ThePassphraseFieldTakesAtMost127Characters) {
    EncryptionHarness h(WepReg(2, 1));
    h.Type(P::kPassphraseEdit, QString(130, QLatin1Char('z')));
    EXPECT_EQ(127, h.Text(P::kPassphraseEdit).size());
}

TEST(EncryptionPage, UncheckingAsciiCarriesTheTypedCharactersIntoHex) {
    EncryptionHarness h(WepReg(1, 3));
    h.Type(P::kAscii64[0], Q("hello"));
    h.Type(P::kAscii64[2], QString::fromLatin1("\xff\xe9 ~!"));
    h.Click(P::kAsciiBox);
    EXPECT_EQ(Groups{"hex-64"}, h.ShownGroups());
    EXPECT_EQ("68656C6C6F", h.Text(P::kHex64[0]));
    EXPECT_EQ("3A9C17E05B", h.Text(P::kHex64[1]));
    EXPECT_EQ("FFE9207E21", h.Text(P::kHex64[2]));
}

// A stored level the list does not hold shows no level, every key control
// disabled, until the user chooses one.
TEST(EncryptionPage, StoredLevelThreeShowsNoLevel) {
    EncryptionHarness h(WepReg(3, 2));
    EXPECT_EQ(-1, h.Index(P::kLevelList));
    for (const KeyGroupIds& group : kKeyGroups) {
        EXPECT_TRUE(h.GroupDisabled(group.ids)) << group.name;
    }
    h.page().ApplyChanges();
    EXPECT_TRUE(h.card.Calls().empty());
    EXPECT_EQ(3u, h.Reg().encryptionLevel);

    h.Choose(P::kLevelList, 2);
    h.Apply();
    EXPECT_EQ(2u, h.Reg().encryptionLevel);
    EXPECT_EQ(1u, h.WlanCalls().size());
}

TEST(EncryptionPage, AStoredTransmitKeyOutsideOneToFourShowsNoKeyAndAppliesKeyOne) {
    for (std::int32_t stored : {-1, 4, 7}) {
        WirelessReg reg = WepReg(1, 2);
        reg.defaultKeyId = stored;
        EncryptionHarness h(reg);
        EXPECT_EQ(-1, h.Index(P::kDefaultKeyList)) << stored;
        h.Choose(P::kLevelList, 1);
        h.Apply();
        EXPECT_EQ(0, h.Reg().defaultKeyId);
        ASSERT_EQ(1u, h.WlanCalls().size());
        EXPECT_TRUE(h.WlanCalls()[0].Key(0)->transmit);
    }
}

TEST(EncryptionPage, ActivationReloadsFromTheRecord) {
    EncryptionHarness h(WepReg(1, 2));
    h.Type(P::kHex64[0], Q("1234"));
    h.SelectTab(4);
    WirelessReg reg = WepReg(2, 3);
    SetFieldText(reg.keyText128[1], "41424344454647484940414243");
    h.sheet->state.reg.Set(reg);
    h.SelectTab(3);
    EXPECT_EQ(2, h.Index(P::kLevelList));
    EXPECT_EQ("ABCDEFGHI@ABC", h.page().m_KeyAscii128[1]);
    EXPECT_EQ("3A9C17E05B", h.Text(P::kHex64[0]));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
}

} // namespace
