#include "EncryptionPageHarness.h"
#include "device/HostState.h"
#include "tests/device/TraceCapture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using P = CEncryptionPage;

std::vector<std::string> Strings(const std::vector<QString>& texts) {
    std::vector<std::string> out;
    for (const QString& text : texts) {
        out.push_back(text.toStdString());
    }
    return out;
}

std::string SsidOf(const CardCall& call) {
    return std::string(reinterpret_cast<const char*>(call.ssid->ssid), call.ssid->length);
}

bool SameKeys(const WirelessReg& a, const WirelessReg& b) {
    return std::memcmp(a.keyText128, b.keyText128, sizeof a.keyText128) == 0 &&
           std::memcmp(a.keyText64, b.keyText64, sizeof a.keyText64) == 0 &&
           std::memcmp(a.keyText, b.keyText, sizeof a.keyText) == 0;
}

TEST(EncryptionApply, DisabledSendsWepOffWithoutKeysAndKeepsTheKeyTexts) {
    WirelessReg reg = WepReg(2, 2);
    SetFieldText(reg.keyText[0], "00112233445566778899AABBCC");
    SetFieldText(reg.ssid, "office");
    EncryptionHarness h(reg);
    h.Click(P::kPassphraseRadio);
    h.Choose(P::kLevelList, 0);
    h.Apply();

    EXPECT_EQ(
        (std::vector<std::string>{"SetProfileWireless", "SetWLANConfig", "SetSSID", "SetSSID"}),
        h.card.CallNames());
    const CardCall set = h.WlanCalls().at(0);
    EXPECT_EQ(0x30000u, set.maskIn);
    EXPECT_EQ(1u, set.host->wepStatus);
    EXPECT_EQ(2u, set.host->authMode);
    EXPECT_TRUE(set.wepKeys.empty());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(nullptr, TavlGetWepKey(&*set.host, i));
    }
    const WirelessReg stored = h.Reg();
    EXPECT_EQ(0u, stored.encryptionLevel);
    EXPECT_EQ(1u, stored.keyEntryMode);
    EXPECT_TRUE(SameKeys(reg, stored));
    EXPECT_TRUE(h.card.LastCall("SetProfileWireless")->nullText);
    EXPECT_EQ(0, std::memcmp(&stored, &*h.card.LastCall("SetProfileWireless")->reg, sizeof stored));
    const auto ssids = h.card.CallsNamed("SetSSID");
    EXPECT_EQ("abcdefghijklmnopqrstuvwxyz", SsidOf(ssids[0]));
    EXPECT_EQ("office", SsidOf(ssids[1]));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
    EXPECT_EQ(0, gChangeParametersRequest);
    EXPECT_TRUE(h.boxes.shown.empty());
}

// Only the configuration write runs inside the access handshake.
TEST(EncryptionApply, OnlyTheConfigurationWriteRunsInsideTheHandshake) {
    EncryptionHarness h(WepReg(1, 2));
    std::vector<std::pair<std::string, bool>> seen;
    h.card.OnCall([&](std::string_view name) {
        seen.emplace_back(std::string(name), h.sheet->state.background.IsSet());
    });
    h.Choose(P::kLevelList, 1);
    h.Apply();
    EXPECT_EQ((std::vector<std::pair<std::string, bool>>{{"SetProfileWireless", true},
                                                         {"SetWLANConfig", false},
                                                         {"SetSSID", true},
                                                         {"SetSSID", true}}),
              seen);
    EXPECT_EQ(std::vector<std::uint32_t>{2000}, h.clock.Waits());
    EXPECT_TRUE(h.sheet->state.background.IsSet());
}

// The key blocks themselves are the device layer's; the page chooses the
// level and the transmit key.
TEST(EncryptionApply, KeysGoToTheCardWithTheTransmitBitOnTheChosenDefaultKey) {
    EncryptionHarness h(WepReg(1, 2));
    h.Choose(P::kDefaultKeyList, 2);
    h.Apply();
    const CardCall set = h.WlanCalls().at(0);
    EXPECT_EQ(0x3F000u, set.maskIn);
    EXPECT_EQ(0u, set.host->wepStatus);
    ASSERT_EQ(4u, set.wepKeys.size());
    EXPECT_EQ(0x80000002u, set.wepKeys[2].keyIndex);
    EXPECT_EQ(1u, set.wepKeys[1].keyIndex);
    EXPECT_EQ(kDefault64KeyText, set.wepKeys[3].Hex());
    EXPECT_EQ(2, h.Reg().defaultKeyId);
}

TEST(EncryptionApply, TypedHexKeysAreStoredInCapitalsForTheirLevel) {
    EncryptionHarness h(WepReg(0, 2));
    h.Choose(P::kLevelList, 2);
    const char* typed[] = {"00112233445566778899aabbcc", "ffeeddccbbaa99887766554433",
                           "0f1e2d3c4b5a69788796a5b4c3", "7D20E8B4C19F6A5D03E7B28C41"};
    for (int n = 0; n < 4; ++n) {
        h.Type(P::kHex128[n], Q(typed[n]));
    }
    h.Apply();
    const WirelessReg reg = h.Reg();
    for (int n = 0; n < 4; ++n) {
        const std::string upper = Q(typed[n]).toUpper().toStdString();
        EXPECT_EQ(upper, FieldText(reg.keyText128[n]));
        EXPECT_EQ(upper, FieldText(reg.keyText[n]));
        EXPECT_EQ(upper, h.WlanCalls().at(0).Key(n)->Hex());
        EXPECT_EQ(kDefault64KeyText, FieldText(reg.keyText64[n]));
    }
    EXPECT_EQ(2u, reg.keyEntryMode);
    // Masked again, with the keys as applied.
    EXPECT_TRUE(h.GroupMasked(P::kHex128));
    EXPECT_EQ(Q(typed[0]), h.Text(P::kHex128[0]));
}

TEST(EncryptionApply, ShortHexKeysAreNamedAndNothingIsStoredOrSent) {
    const WirelessReg before = WepReg(0, 2);
    EncryptionHarness h(before);
    h.Choose(P::kLevelList, 2);
    h.Choose(P::kDefaultKeyList, 2);
    h.Type(P::kHex128[0], Q("1234"));
    h.Type(P::kHex128[2], Q("ABCDEF"));
    h.Apply();
    EXPECT_EQ(
        std::vector<std::string>{"Invalid WEP key length. They should be 26 characters.( Key1 "
                                 "Key3)"},
        Strings(h.boxes.Texts()));
    EXPECT_TRUE(h.card.Calls().empty());
    const WirelessReg reg = h.Reg();
    EXPECT_EQ(2u, reg.encryptionLevel);
    EXPECT_EQ(2, reg.defaultKeyId);
    EXPECT_TRUE(SameKeys(before, reg));
    EXPECT_TRUE(h.ChangeButtonsEnabled());

    // The level was already changed: Undo Changes shows 128 bits.
    h.Click(P::kUndoButton);
    EXPECT_EQ(2, h.Index(P::kLevelList));
    EXPECT_EQ(Q(kDefault128KeyText), h.Text(P::kHex128[0]));
}

TEST(EncryptionApply, EachLengthMessageNamesItsKeys) {
    const struct {
        std::uint32_t level, mode;
        const int* ids;
        const char* badKey;
        const char* message;
    } cases[] = {
        {1, 2, P::kHex64, "123456789",
         "Invalid WEP key length. They should be 10 characters.( Key4)"},
        {1, 3, P::kAscii64, "abcd",
         "Invalid WEP key length. They should be 5 ASCII characters.( Key4)"},
        {2, 3, P::kAscii128, "abcdefghijkl",
         "Invalid WEP key length. They should be 13 ASCII characters.( Key4)"},
    };
    for (const auto& c : cases) {
        EncryptionHarness h(WepReg(c.level, c.mode));
        h.Type(c.ids[3], Q(c.badKey));
        h.Apply();
        EXPECT_EQ(std::vector<std::string>{c.message}, Strings(h.boxes.Texts()));
        EXPECT_TRUE(h.card.Calls().empty());
    }
}

TEST(EncryptionApply, AsciiKeysAreSentAsTheirByteValues) {
    EncryptionHarness h(WepReg(2, 3));
    const struct {
        QString typed;
        const char* hex;
    } keys[] = {
        {Q("abcdefghijklm"), "6162636465666768696A6B6C6D"},
        {QString::fromLatin1("\xe9t\xe9 \xff~!123456"), "E974E920FF7E21313233343536"},
        {Q("x*star-star**"), "782A737461722D737461722A2A"},
        {Q("0123456789ABC"), "30313233343536373839414243"},
    };
    for (int n = 0; n < 4; ++n) {
        h.Type(P::kAscii128[n], keys[n].typed);
    }
    h.Apply();
    EXPECT_TRUE(h.boxes.shown.empty());
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(keys[n].hex, h.WlanCalls().at(0).Key(n)->Hex());
        EXPECT_EQ(keys[n].hex, FieldText(h.Reg().keyText128[n]));
        EXPECT_EQ("*************", h.Text(P::kAscii128[n]));
    }
    EXPECT_EQ(3u, h.Reg().keyEntryMode);
}

TEST(EncryptionApply, AZeroByteShortensTheAsciiKeyAndGetsTheLengthMessage) {
    WirelessReg reg = WepReg(1, 2);
    SetFieldText(reg.keyText64[1], "4100434445");
    EncryptionHarness h(reg);
    h.Click(P::kAsciiBox);
    EXPECT_EQ("A", h.page().m_KeyAscii64[1]);
    h.Apply();
    EXPECT_EQ(std::vector<std::string>{"Invalid WEP key length. They should be 5 ASCII "
                                       "characters.( Key2)"},
              Strings(h.boxes.Texts()));
    EXPECT_TRUE(h.card.Calls().empty());
}

TEST(EncryptionApply, UncheckingAsciiAfterTypingSendsTheTypedKeys) {
    EncryptionHarness h(WepReg(1, 3));
    h.Type(P::kAscii64[0], Q("hello"));
    h.Click(P::kAsciiBox);
    h.Apply();
    EXPECT_EQ("68656C6C6F", h.WlanCalls().at(0).Key(0)->Hex());
    EXPECT_EQ(kDefault64KeyText, h.WlanCalls().at(0).Key(1)->Hex());
    EXPECT_EQ("68656C6C6F", FieldText(h.Reg().keyText64[0]));
    EXPECT_EQ(2u, h.Reg().keyEntryMode);
}

// A stored key of the right length with other characters than digits
// would reach the card as a different key: it is refused, by name.
TEST(EncryptionApply, AStoredKeyWithOtherCharactersIsRefusedByName) {
    const struct {
        std::uint32_t level;
        const char* key;
    } cases[] = {{1, "3A9C17E0ZZ"}, {1, "3A9C17E0 B"}, {2, "7D20E8B4C19F6A5D03E7B28C4g"}};
    for (const auto& c : cases) {
        WirelessReg reg = WepReg(c.level, 2);
        for (int n : {1, 3}) {
            if (c.level == 1) {
                SetFieldText(reg.keyText64[n], c.key);
            } else {
                SetFieldText(reg.keyText128[n], c.key);
            }
        }
        EncryptionHarness h(reg);
        h.Choose(P::kDefaultKeyList, 0);
        h.Apply();
        EXPECT_EQ(std::vector<std::string>{"Invalid WEP key. They should be hexadecimal digits 0-9 "
                                           "and A-F.( Key2 Key4)"},
                  Strings(h.boxes.Texts()))
            << c.key;
        EXPECT_TRUE(h.card.Calls().empty());
        EXPECT_TRUE(SameKeys(reg, h.Reg()));
    }
}

TEST(EncryptionApply, AFailedWriteIsRetriedOnceThenReportedOnce) {
    EncryptionHarness h(WepReg(1, 2));
    TraceCapture trace;
    h.card.FailSetBits(0x2000, 2);
    h.Choose(P::kLevelList, 1);
    h.Apply();
    const auto calls = h.WlanCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(0x3F000u, calls[0].maskIn);
    EXPECT_EQ(0x2000u, calls[1].maskIn);
    EXPECT_EQ(0x2000u, calls[1].maskOut);
    EXPECT_EQ(1u, trace.Count("Failed to change WEP configuration : 0x2000"));
    EXPECT_EQ(std::vector<std::string>{"Failed to change WEP configuration."},
              Strings(h.boxes.Texts()));
    EXPECT_EQ(2u, h.card.CountOf("SetSSID"));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
    EXPECT_TRUE(h.sheet->state.background.IsSet());
}

TEST(EncryptionApply, ASecondWriteThatSucceedsReportsNothing) {
    EncryptionHarness h(WepReg(2, 2));
    h.card.FailSetBits(0x10000, 1);
    h.Choose(P::kLevelList, 2);
    h.Apply();
    EXPECT_EQ(2u, h.WlanCalls().size());
    EXPECT_TRUE(h.boxes.shown.empty());
}

// Passphrase mode: Apply makes the keys again from the whole passphrase.
TEST(EncryptionApply, PassphraseModeSendsTheKeysOfTheStoredPassphrase) {
    const struct {
        std::size_t length;
        const char* key64;
        const char* key128;
    } cases[] = {
        {127, "37DD5A0741", "F18945EB18AF1FC5765C1DE6D7"},
    };
    for (const auto& c : cases) {
        std::string passphrase;
        while (passphrase.size() < c.length) {
            passphrase += "abcdefghij";
        }
        passphrase.resize(c.length);
        for (std::uint32_t level : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << "length " << c.length << " level " << level);
            WirelessReg reg = WepReg(level, 1);
            SetFieldText(reg.passphrase, passphrase);
            EncryptionHarness h(reg);
            h.Choose(P::kLevelList, static_cast<int>(level));
            h.Apply();
            ASSERT_EQ(1u, h.WlanCalls().size());
            EXPECT_EQ(level == 1 ? c.key64 : c.key128, h.WlanCalls()[0].Key(0)->Hex());
            EXPECT_EQ(passphrase, FieldText(h.Reg().passphrase));
            EXPECT_EQ(1u, h.Reg().keyEntryMode);
            EXPECT_TRUE(h.boxes.shown.empty());
        }
    }
}

// An empty passphrase stops the apply at its message: nothing stored or
// sent, `reg` unchanged, Apply Changes still enabled.
TEST(EncryptionApply, AnEmptyPassphraseStopsTheApplyLikeAKeyLengthMessage) {
    const WirelessReg reg = WepReg(0, 1);
    EncryptionHarness h(reg);
    h.Choose(P::kLevelList, 2);
    h.Apply();
    EXPECT_EQ(std::vector<std::string>{"The PassPhrase is not given, please specify the desired "
                                       "PassPhrase."},
              Strings(h.boxes.Texts()));
    EXPECT_TRUE(h.card.Calls().empty());
    const WirelessReg after = h.Reg();
    EXPECT_EQ(0, std::memcmp(&reg, &after, sizeof reg));
    EXPECT_TRUE(h.ChangeButtonsEnabled());
}

// The ASCII box keeps its state in passphrase mode; the generated keys are
// hexadecimal whatever it shows, so a zero byte in them is no short key.
TEST(EncryptionApply, PassphraseKeysWithAZeroByteApplyWhileAsciiStaysChecked) {
    EncryptionHarness h(WepReg(2, 3));
    h.Click(P::kPassphraseRadio);
    EXPECT_TRUE(h.Checked(P::kAsciiBox));
    EXPECT_FALSE(h.Enabled(P::kAsciiBox));
    h.Type(P::kPassphraseEdit, Q("key15"));
    EXPECT_EQ("B11CA26D8800E714B338E34516", h.Text(P::kHex128[0]));
    h.Apply();
    EXPECT_TRUE(h.boxes.shown.empty()) << h.boxes.Texts().front().toStdString();
    ASSERT_EQ(1u, h.WlanCalls().size());
    EXPECT_EQ("B11CA26D8800E714B338E34516", h.WlanCalls()[0].Key(2)->Hex());
    EXPECT_EQ(1u, h.Reg().keyEntryMode);
}

TEST(EncryptionApply, RestoreDefaultsWritesTheDefaultKeysAtOnceAndUndoShowsThem) {
    WirelessReg reg = WepReg(2, 3);
    reg.defaultKeyId = 3;
    SetFieldText(reg.passphrase, "secret");
    for (int n = 0; n < 4; ++n) {
        SetFieldText(reg.keyText128[n], "00112233445566778899AABBCC");
        SetFieldText(reg.keyText64[n], "0011223344");
        SetFieldText(reg.keyText[n], "00112233445566778899AABBCC");
    }
    EncryptionHarness h(reg);
    h.Click(P::kRestoreButton);

    WirelessReg restored = h.Reg();
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(kDefault128KeyText, FieldText(restored.keyText128[n]));
        EXPECT_EQ(kDefault64KeyText, FieldText(restored.keyText64[n]));
        EXPECT_EQ(kDefault64KeyText, FieldText(restored.keyText[n]));
    }
    EXPECT_EQ(2u, restored.encryptionLevel);
    EXPECT_EQ(3, restored.defaultKeyId);
    EXPECT_EQ(3u, restored.keyEntryMode);
    EXPECT_EQ("secret", FieldText(restored.passphrase));
    EXPECT_EQ(0, h.Index(P::kLevelList));
    EXPECT_EQ(0, h.Index(P::kDefaultKeyList));
    EXPECT_FALSE(h.Checked(P::kAsciiBox));
    EXPECT_FALSE(h.Checked(P::kPassphraseRadio));
    EXPECT_EQ("", h.Text(P::kPassphraseEdit));
    EXPECT_TRUE(h.ChangeButtonsEnabled());
    EXPECT_TRUE(h.card.Calls().empty());

    h.Click(P::kUndoButton);
    EXPECT_EQ(2, h.Index(P::kLevelList));
    EXPECT_EQ(3, h.Index(P::kDefaultKeyList));
    EXPECT_TRUE(h.Checked(P::kAsciiBox));
    EXPECT_EQ(std::vector<std::string>{"ASCII-128"}, h.ShownGroups());
    EXPECT_EQ(Q(kDefault128KeyText), h.page().m_KeyHex128[0]);
    EXPECT_EQ(Q(kDefault128KeyText), h.Text(P::kHex128[0]));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
}

TEST(EncryptionApply, RestoreDefaultsInPassphraseModeStoresManualHex) {
    EncryptionHarness h(WepReg(1, 1));
    h.Click(P::kRestoreButton);
    EXPECT_FALSE(h.Checked(P::kPassphraseRadio));
    EXPECT_FALSE(h.Checked(P::kManualRadio));
    h.Choose(P::kLevelList, 1);
    EXPECT_TRUE(h.Enabled(P::kPassphraseEdit));
    EXPECT_FALSE(h.Enabled(P::kAsciiBox));
    h.Apply();
    EXPECT_EQ(2u, h.Reg().keyEntryMode);
    EXPECT_TRUE(h.boxes.shown.empty());
}

// The sheet's OK applies while Apply Changes is enabled; a length message
// does not keep the sheet open.
TEST(EncryptionApply, OkOnTheSheetAppliesPendingChangesAndCloses) {
    const struct {
        const char* name;
        void (*edit)(EncryptionHarness&);
        std::size_t writes, messages;
    } cases[] = {
        {"changed", [](EncryptionHarness& h) { h.Choose(P::kLevelList, 1); }, 1, 0},
        {"unchanged", [](EncryptionHarness&) {}, 0, 0},
        {"short key", [](EncryptionHarness& h) { h.Type(P::kHex64[0], Q("12")); }, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EncryptionHarness h(WepReg(1, 2));
        c.edit(h);
        h.sheet->findChild<QAbstractButton*>(QStringLiteral("1"))->click();
        EXPECT_FALSE(h.sheet->isVisible());
        EXPECT_EQ(c.writes, h.WlanCalls().size());
        EXPECT_EQ(c.writes == 0, h.card.Calls().empty());
        EXPECT_EQ(c.messages, h.boxes.shown.size());
        EXPECT_EQ(0, gSheetOpen);
    }
}

} // namespace
