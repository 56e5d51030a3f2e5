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
    const WirelessReg stored = h.Reg();
    EXPECT_EQ(0u, stored.encryptionLevel);
    EXPECT_TRUE(SameKeys(reg, stored));
    EXPECT_TRUE(h.card.LastCall("SetProfileWireless")->nullText);
    EXPECT_EQ(0, std::memcmp(&stored, &*h.card.LastCall("SetProfileWireless")->reg, sizeof stored));
    const auto ssids = h.card.CallsNamed("SetSSID");
    EXPECT_EQ("abcdefghijklmnopqrstuvwxyz", SsidOf(ssids[0]));
    EXPECT_EQ("office", SsidOf(ssids[1]));
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
        EXPECT_EQ(upper, h.WlanCalls().at(0).Key(n)->Hex());
        EXPECT_EQ(kDefault64KeyText, FieldText(reg.keyText64[n]));
    }
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
    EXPECT_TRUE(SameKeys(before, reg));
    EXPECT_TRUE(h.ChangeButtonsEnabled());

    // The level was already changed: Undo Changes shows 128 bits.
    h.Click(P::kUndoButton);
    EXPECT_EQ(2, h.Index(P::kLevelList));
    EXPECT_EQ(Q(kDefault128KeyText), h.Text(P::kHex128[0]));
}

// Each refused apply names the keys at fault; nothing is stored or sent,
// `reg` keeps its keys and Apply Changes stays enabled. A stored key of the
// right length with other characters than digits would reach the card as a
// different key; an empty passphrase makes no keys at all.
WirelessReg WithKeys(std::uint32_t level, std::uint32_t mode, const char* key) {
    WirelessReg reg = WepReg(level, mode);
    for (int n : {1, 3}) {
        if (level == 1) {
            SetFieldText(reg.keyText64[n], key);
        } else {
            SetFieldText(reg.keyText128[n], key);
        }
    }
    return reg;
}

TEST(EncryptionApply, RefusedKeysAreNamedAndNothingIsStoredOrSent) {
    const char* const kHexDigits =
        "Invalid WEP key. They should be hexadecimal digits 0-9 and A-F.( Key2 Key4)";
    const struct {
        WirelessReg reg;
        void (*edit)(EncryptionHarness&);
        const char* message;
    } cases[] = {
        {WepReg(1, 2), [](EncryptionHarness& h) { h.Type(P::kHex64[3], Q("123456789")); },
         "Invalid WEP key length. They should be 10 characters.( Key4)"},
        {WepReg(1, 3), [](EncryptionHarness& h) { h.Type(P::kAscii64[3], Q("abcd")); },
         "Invalid WEP key length. They should be 5 ASCII characters.( Key4)"},
        {WepReg(2, 3), [](EncryptionHarness& h) { h.Type(P::kAscii128[3], Q("abcdefghijkl")); },
         "Invalid WEP key length. They should be 13 ASCII characters.( Key4)"},
        // A zero byte ends the key as characters.
        {WithKeys(1, 2, "4100434445"), [](EncryptionHarness& h) { h.Click(P::kAsciiBox); },
         "Invalid WEP key length. They should be 5 ASCII characters.( Key2 Key4)"},
        {WithKeys(1, 2, "3A9C17E0ZZ"),
         [](EncryptionHarness& h) { h.Choose(P::kDefaultKeyList, 0); }, kHexDigits},
        {WithKeys(1, 2, "3A9C17E0 B"),
         [](EncryptionHarness& h) { h.Choose(P::kDefaultKeyList, 0); }, kHexDigits},
        {WithKeys(2, 2, "7D20E8B4C19F6A5D03E7B28C4g"),
         [](EncryptionHarness& h) { h.Choose(P::kDefaultKeyList, 0); }, kHexDigits},
        {WepReg(0, 1), [](EncryptionHarness& h) { h.Choose(P::kLevelList, 2); },
         "The PassPhrase is not given, please specify the desired PassPhrase."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EncryptionHarness h(c.reg);
        c.edit(h);
        h.Apply();
        EXPECT_EQ(std::vector<std::string>{c.message}, Strings(h.boxes.Texts()));
        EXPECT_TRUE(h.card.Calls().empty());
        EXPECT_TRUE(SameKeys(c.reg, h.Reg()));
        EXPECT_TRUE(h.ChangeButtonsEnabled());
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
    EXPECT_EQ(1u, trace.Count("Failed to change WEP configuration : 0x2000"));
    EXPECT_EQ(std::vector<std::string>{"Failed to change WEP configuration."},
              Strings(h.boxes.Texts()));
    EXPECT_EQ(2u, h.card.CountOf("SetSSID"));
}

TEST(EncryptionApply, ASecondWriteThatSucceedsReportsNothing) {
    EncryptionHarness h(WepReg(2, 2));
    h.card.FailSetBits(0x10000, 1);
    h.Choose(P::kLevelList, 2);
    h.Apply();
    EXPECT_EQ(2u, h.WlanCalls().size());
    EXPECT_TRUE(h.boxes.shown.empty());
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
    EXPECT_EQ("secret", FieldText(restored.passphrase));
    EXPECT_EQ(0, h.Index(P::kLevelList));
    EXPECT_TRUE(h.ChangeButtonsEnabled());
    EXPECT_TRUE(h.card.Calls().empty());

    h.Click(P::kUndoButton);
    EXPECT_EQ(2, h.Index(P::kLevelList));
    EXPECT_EQ(std::vector<std::string>{"ASCII-128"}, h.ShownGroups());
    EXPECT_EQ(Q(kDefault128KeyText), h.Text(P::kHex128[0]));
    EXPECT_TRUE(h.ChangeButtonsDisabled());
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
        h.sheet->findChild<QAbstractButton*>(QString::number(SheetControls::kOkButton))->click();
        EXPECT_FALSE(h.sheet->isVisible());
        EXPECT_EQ(c.writes, h.WlanCalls().size());
        EXPECT_EQ(c.writes == 0, h.card.Calls().empty());
        EXPECT_EQ(c.messages, h.boxes.shown.size());
        EXPECT_EQ(0, gSheetOpen);
    }
}

} // namespace
