#include "EncryptionPageHarness.h"
#include "platform/Beep.h"

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
        EXPECT_EQ(!c.keysTypable, h.GroupDisabled(shown));
        EXPECT_EQ(c.keysTypable, h.Enabled(P::kAsciiBox));
        EXPECT_EQ(c.keysTypable, h.Enabled(P::kKeyLabels[0]));
        EXPECT_EQ(!c.keysTypable, h.Enabled(P::kPassphraseEdit));
        EXPECT_EQ(!c.keysTypable, h.Enabled(P::kPassphraseLabel));
        EXPECT_TRUE(h.Enabled(P::kPassphraseRadio));
        EXPECT_TRUE(h.Enabled(P::kManualRadio));
        EXPECT_TRUE(h.Enabled(P::kDefaultKeyList));
        EXPECT_TRUE(h.ChangeButtonsDisabled());
        EXPECT_TRUE(h.Enabled(P::kRestoreButton));
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

TEST(EncryptionPage, DisabledShowsTheGroupOfTheLastLevelArranged) {
    EncryptionHarness h(WepReg(1, 2));
    h.Choose(P::kLevelList, 0);
    EXPECT_EQ(Groups{"hex-64"}, h.ShownGroups());
    EXPECT_TRUE(h.GroupDisabled(P::kHex64));
    EXPECT_TRUE(h.ChangeButtonsEnabled());
}

TEST(EncryptionPage, KeysAndPassphraseAreMaskedAndAsciiFieldsShowStars) {
    WirelessReg reg = WepReg(1, 3);
    SetFieldText(reg.passphrase, "secret");
    EncryptionHarness h(reg);
    for (const KeyGroupIds& group : kKeyGroups) {
        EXPECT_TRUE(h.GroupMasked(group.ids)) << group.name;
    }
    EXPECT_TRUE(h.Key(P::kPassphraseEdit)->HasPasswordChar());
    EXPECT_EQ("secret", h.Text(P::kPassphraseEdit));
    EXPECT_EQ("3A9C17E05B", h.Text(P::kHex64[0]));
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ("*****", h.Text(P::kAscii64[n]));
        EXPECT_EQ("*************", h.Text(P::kAscii128[n]));
    }
    // The real texts stay with the page: the default keys as characters.
    EXPECT_EQ(QString::fromLatin1("\x3A\x9C\x17\xE0\x5B"), h.page().m_KeyAscii64[0]);
}

TEST(EncryptionPage, TypingShowsTheKeyInClearUntilTheNextMasking) {
    EncryptionHarness h(WepReg(1, 2));
    h.Type(P::kHex64[1], Q("0a1b"));
    EXPECT_EQ("0a1b", h.Text(P::kHex64[1]));
    EXPECT_FALSE(h.Key(P::kHex64[1])->HasPasswordChar());
    EXPECT_TRUE(h.Key(P::kHex64[0])->HasPasswordChar());
    EXPECT_TRUE(h.ChangeButtonsEnabled());
    h.Choose(P::kLevelList, 1);
    EXPECT_TRUE(h.Key(P::kHex64[1])->HasPasswordChar());
    EXPECT_EQ("0a1b", h.Text(P::kHex64[1]));
}

TEST(EncryptionPage, HexFieldsRefuseOtherCharactersWithTheBeep) {
    EncryptionHarness h(WepReg(2, 2));
    const int before = WarningBeepCount();
    h.Type(P::kHex128[0], Q("12 3g4"));
    EXPECT_EQ("1234", h.Text(P::kHex128[0]));
    EXPECT_EQ(2, WarningBeepCount() - before);
    h.Type(P::kHex128[0], QString(30, QLatin1Char('f')));
    EXPECT_EQ(26, h.Text(P::kHex128[0]).size());
}

TEST(EncryptionPage, AsciiFieldsTakeAnyCharacterUpToTheKeyLength) {
    EncryptionHarness h(WepReg(2, 3));
    h.Type(P::kAscii128[2], QString::fromUtf16(u"p\u00e4ss w0rd!? xyz"));
    EXPECT_EQ(QString::fromUtf16(u"p\u00e4ss w0rd!? x"), h.Text(P::kAscii128[2]));
}

// Typed passphrase "secret": four different 64-bit keys, or one 128-bit
// key four times, shown in clear; the other level's keys stay masked.
TEST(EncryptionPage, TypingAPassphraseShowsItAndTheKeysItMakes) {
    const struct {
        std::uint32_t level;
        const int* shown;
        const int* other;
        std::vector<const char*> keys;
    } cases[] = {
        {1, P::kHex64, P::kHex128, {"C93CA31ECA", "DC1124096F", "AF8C5062BF", "DD15219276"}},
        {2, P::kHex128, P::kHex64, std::vector<const char*>(4, "1C064922046D6517DFEF3B7EF3")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        EncryptionHarness h(WepReg(c.level, 1));
        h.Type(P::kPassphraseEdit, Q("secret"));
        EXPECT_EQ("secret", h.Text(P::kPassphraseEdit));
        EXPECT_FALSE(h.Key(P::kPassphraseEdit)->HasPasswordChar());
        EXPECT_EQ(1u, h.page().m_PassphraseShown);
        for (int n = 0; n < 4; ++n) {
            EXPECT_EQ(c.keys[n], h.Text(c.shown[n]));
            EXPECT_FALSE(h.Key(c.shown[n])->HasPasswordChar());
        }
        EXPECT_TRUE(h.GroupMasked(c.other));
        EXPECT_TRUE(h.ChangeButtonsEnabled());
        EXPECT_TRUE(h.card.Calls().empty());
    }
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

TEST(EncryptionPage, APassphraseWithDisabledMakesNoKeys) {
    EncryptionHarness h(WepReg(2, 1));
    h.Choose(P::kLevelList, 0);
    EXPECT_FALSE(h.Enabled(P::kPassphraseEdit));
    // Typed anyway (the field cannot be reached by the user here).
    h.Key(P::kPassphraseEdit)->setEnabled(true);
    h.Type(P::kPassphraseEdit, Q("secret"));
    EXPECT_EQ(Q(kDefault128KeyText), h.page().m_KeyHex128[0]);
    EXPECT_EQ(Q(kDefault64KeyText), h.page().m_KeyHex64[0]);
}

TEST(EncryptionPage, RadioButtonsUncheckEachOtherAndStayCheckedWhenClickedAgain) {
    EncryptionHarness h(WepReg(1, 2));
    h.Click(P::kPassphraseRadio);
    EXPECT_TRUE(h.Checked(P::kPassphraseRadio));
    EXPECT_FALSE(h.Checked(P::kManualRadio));
    EXPECT_TRUE(h.Enabled(P::kPassphraseEdit));
    EXPECT_TRUE(h.GroupDisabled(P::kHex64));
    EXPECT_TRUE(h.ChangeButtonsEnabled());
    h.Click(P::kPassphraseRadio);
    EXPECT_TRUE(h.Checked(P::kPassphraseRadio));
    h.Click(P::kManualRadio);
    EXPECT_TRUE(h.Checked(P::kManualRadio));
    EXPECT_FALSE(h.Checked(P::kPassphraseRadio));
    EXPECT_TRUE(h.GroupEnabled(P::kHex64));
}

TEST(EncryptionPage, CheckingAsciiTurnsTheTypedHexKeysIntoCharacters) {
    EncryptionHarness h(WepReg(1, 2));
    h.Type(P::kHex64[0], Q("4142434445"));
    h.Click(P::kAsciiBox);
    EXPECT_EQ(Groups{"ASCII-64"}, h.ShownGroups());
    EXPECT_TRUE(h.GroupEnabled(P::kAscii64));
    EXPECT_EQ("*****", h.Text(P::kAscii64[0]));
    EXPECT_EQ("ABCDE", h.page().m_KeyAscii64[0]);
    EXPECT_TRUE(h.ChangeButtonsEnabled());
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

TEST(EncryptionPage, KeyFieldsPassphraseAndDefaultKeyListAreBlueOnWhite) {
    EncryptionHarness h;
    std::vector<QWidget*> painted{h.Key(P::kPassphraseEdit), h.Control(P::kDefaultKeyList)};
    for (const KeyGroupIds& group : kKeyGroups) {
        for (int n = 0; n < 4; ++n) {
            painted.push_back(h.Key(group.ids[n]));
        }
    }
    for (QWidget* widget : painted) {
        EXPECT_EQ(QColor(255, 255, 255), widget->palette().color(QPalette::Active, QPalette::Base))
            << widget->objectName().toStdString();
        EXPECT_EQ(QColor(0, 0, 255), widget->palette().color(QPalette::Active, QPalette::Text))
            << widget->objectName().toStdString();
        // Disabled, a field looks disabled, not editable.
        EXPECT_NE(QColor(0, 0, 255), widget->palette().color(QPalette::Disabled, QPalette::Text))
            << widget->objectName().toStdString();
    }
    EXPECT_NE(QColor(0, 0, 255), h.Control(P::kLevelList)->palette().color(QPalette::Text));
}

// A stored level the list does not hold shows no level, every key control
// disabled, until the user chooses one.
TEST(EncryptionPage, StoredLevelThreeShowsNoLevel) {
    EncryptionHarness h(WepReg(3, 2));
    EXPECT_EQ(-1, h.Index(P::kLevelList));
    for (const KeyGroupIds& group : kKeyGroups) {
        EXPECT_TRUE(h.GroupDisabled(group.ids)) << group.name;
    }
    EXPECT_FALSE(h.Enabled(P::kDefaultKeyList));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
    h.page().ApplyChanges();
    EXPECT_TRUE(h.card.Calls().empty());
    EXPECT_EQ(3u, h.Reg().encryptionLevel);

    h.Choose(P::kLevelList, 2);
    EXPECT_TRUE(h.GroupEnabled(P::kHex128));
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
    EXPECT_TRUE(h.Checked(P::kAsciiBox));
    EXPECT_EQ(Groups{"ASCII-128"}, h.ShownGroups());
    EXPECT_EQ("ABCDEFGHI@ABC", h.page().m_KeyAscii128[1]);
    EXPECT_EQ("3A9C17E05B", h.Text(P::kHex64[0]));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
}

} // namespace
