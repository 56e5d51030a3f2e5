// The Encryption page's Apply Changes, Restore Defaults and the sheet's OK:
// what reaches the card and `reg`, and what is refused.
#include "PageHarness.h"

#include "device/HostState.h"
#include "tests/device/TraceCapture.h"

#include <cstring>

namespace {

using P = CEncryptionPage;

// Disabled sends WEP off without keys and keeps the key texts; only the
// configuration write runs inside the access handshake, and the SSID is
// sent again after 2000 ms.
TEST(EncryptionApply, DisabledSendsWepOffInsideTheHandshakeAndKeepsTheKeyTexts) {
    WirelessReg reg = WepReg(2, 2);
    SetFieldText(reg.keyText[0], "00112233445566778899AABBCC");
    SetFieldText(reg.ssid, "office");
    PageHarness h(reg);
    h.Click(P::kPassphraseRadio);
    h.Choose(P::kLevelList, 0);
    std::vector<std::string> seen;
    h.card.OnCall([&](std::string_view name) {
        seen.push_back(std::string(name) + (h.sheet->state.background.IsSet() ? "" : " held"));
    });
    h.Apply();

    EXPECT_EQ((std::vector<std::string>{"SetProfileWireless", "SetWLANConfig held", "SetSSID",
                                        "SetSSID"}),
              seen);
    EXPECT_EQ(std::vector<std::uint32_t>{2000}, h.clock.Waits());
    const CardCall set = h.WlanCalls().at(0);
    EXPECT_EQ((std::vector<std::uint32_t>{0x30000u, 1, 2}),
              (std::vector<std::uint32_t>{set.maskIn, set.host->wepStatus, set.host->authMode}));
    EXPECT_TRUE(set.wepKeys.empty());
    const WirelessReg stored = h.Reg();
    WirelessReg expected = reg;
    expected.encryptionLevel = 0;
    expected.keyEntryMode = 1;
    EXPECT_EQ(0, std::memcmp(&expected, &stored, sizeof stored));
    EXPECT_TRUE(h.card.LastCall("SetProfileWireless")->nullText);
    EXPECT_EQ(0, std::memcmp(&stored, &*h.card.LastCall("SetProfileWireless")->reg, sizeof stored));
    EXPECT_EQ(0, std::memcmp("office", h.card.LastCall("SetSSID")->ssid->ssid, 6));
}

// Each refused apply names the keys at fault; nothing is stored or sent,
// `reg` keeps every field (level and transmit key too) and Apply Changes
// stays enabled. A stored key of the
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
    const auto firstKey = [](PageHarness& h) { h.Choose(P::kDefaultKeyList, 0); };
    const struct {
        WirelessReg reg;
        void (*edit)(PageHarness&);
        const char* message;
    } cases[] = {
        {WepReg(1, 2), [](PageHarness& h) { h.Type(P::kHex64[3], "123456789"); },
         "Invalid WEP key length. They should be 10 characters.( Key4)"},
        {WepReg(0, 2),
         [](PageHarness& h) {
             h.Choose(P::kLevelList, 2);
             h.Type(P::kHex128[0], "1234");
             h.Type(P::kHex128[2], "ABCDEF");
         },
         "Invalid WEP key length. They should be 26 characters.( Key1 Key3)"},
        {WepReg(1, 3), [](PageHarness& h) { h.Type(P::kAscii64[3], "abcd"); },
         "Invalid WEP key length. They should be 5 ASCII characters.( Key4)"},
        {WepReg(2, 3), [](PageHarness& h) { h.Type(P::kAscii128[3], "abcdefghijkl"); },
         "Invalid WEP key length. They should be 13 ASCII characters.( Key4)"},
        // A zero byte ends the key as characters.
        {WithKeys(1, 2, "4100434445"), [](PageHarness& h) { h.Click(P::kAsciiBox); },
         "Invalid WEP key length. They should be 5 ASCII characters.( Key2 Key4)"},
        {WithKeys(1, 2, "3A9C17E0ZZ"), firstKey, kHexDigits},
        {WithKeys(1, 2, "3A9C17E0 B"), firstKey, kHexDigits},
        {WithKeys(2, 2, "7D20E8B4C19F6A5D03E7B28C4g"), firstKey, kHexDigits},
        {WepReg(0, 1), [](PageHarness& h) { h.Choose(P::kLevelList, 2); },
         "The PassPhrase is not given, please specify the desired PassPhrase."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        PageHarness h(c.reg);
        c.edit(h);
        h.Apply();
        EXPECT_EQ(std::vector<QString>{c.message}, h.boxes.Texts());
        EXPECT_TRUE(h.card.Calls().empty());
        const WirelessReg after = h.Reg();
        EXPECT_EQ(0, std::memcmp(&c.reg, &after, sizeof after));
        EXPECT_TRUE(h.ChangesPending());
    }
}

// A failed write is tried once more with the failed bits; a second failure
// is traced and reported once, a second write that succeeds reports nothing.
TEST(EncryptionApply, AFailedWriteIsRetriedOnce) {
    const struct {
        std::uint32_t level, bits;
        int failures;
        std::size_t boxes;
    } cases[] = {{1, 0x2000, 2, 1}, {2, 0x10000, 1, 0}};
    for (const auto& c : cases) {
        PageHarness h(WepReg(c.level, 2));
        TraceCapture trace;
        h.card.FailSetBits(c.bits, c.failures);
        h.Choose(P::kLevelList, static_cast<int>(c.level));
        h.Apply();
        const auto calls = h.WlanCalls();
        ASSERT_EQ(2u, calls.size());
        EXPECT_EQ(c.bits, calls[1].maskIn);
        EXPECT_EQ(c.boxes, trace.Count("Failed to change WEP configuration : 0x" +
                                       QString::number(c.bits, 16).toStdString()));
        EXPECT_EQ(std::vector<QString>(c.boxes, "Failed to change WEP configuration."),
                  h.boxes.Texts());
        EXPECT_EQ(2u, h.card.CountOf("SetSSID"));
    }
}

// The ASCII box keeps its state in passphrase mode; the generated keys are
// hexadecimal whatever it shows, so a zero byte in them is no short key.
TEST(EncryptionApply, PassphraseKeysWithAZeroByteApplyWhileAsciiStaysChecked) {
    PageHarness h(WepReg(2, 3));
    h.Click(P::kPassphraseRadio);
    EXPECT_TRUE(h.Checked(P::kAsciiBox));
    EXPECT_FALSE(h.Enabled(P::kAsciiBox));
    h.Type(P::kPassphraseEdit, "key15");
    h.Apply();
    EXPECT_TRUE(h.boxes.shown.empty());
    ASSERT_EQ(1u, h.WlanCalls().size());
    EXPECT_EQ("B11CA26D8800E714B338E34516", h.WlanCalls()[0].Key(2)->Hex());
    EXPECT_EQ(1u, h.Reg().keyEntryMode);
}

TEST(EncryptionApply, RestoreDefaultsWritesTheDefaultKeysAtOnceUndoAndComingBackShowThem) {
    WirelessReg restored = WepReg(2, 3);
    restored.defaultKeyId = 3;
    SetFieldText(restored.passphrase, "secret");
    WirelessReg reg = restored;
    for (int n = 0; n < 4; ++n) {
        SetFieldText(reg.keyText128[n], "00112233445566778899AABBCC");
        SetFieldText(reg.keyText64[n], "0011223344");
        SetFieldText(reg.keyText[n], "00112233445566778899AABBCC");
    }
    PageHarness h(reg);
    h.Click(P::kRestoreButton);
    const WirelessReg after = h.Reg();
    EXPECT_EQ(0, std::memcmp(&restored, &after, sizeof after));
    EXPECT_EQ(0, h.Index(P::kLevelList));
    EXPECT_TRUE(h.ChangesPending());
    EXPECT_TRUE(h.card.Calls().empty());

    h.Click(P::kUndoButton);
    EXPECT_EQ(2, h.Index(P::kLevelList));
    EXPECT_EQ(std::vector<std::string>{"ASCII-128"}, h.ShownGroups());
    EXPECT_EQ(kDefault128KeyText, h.Text(P::kHex128[0]).toStdString());
    EXPECT_FALSE(h.ChangesPending());

    // Coming back to the page shows the record as it is then; what was
    // typed before leaving goes.
    h.Type(P::kAscii128[0], "abc");
    h.SelectTab(kAboutTab);
    h.sheet->state.reg.Set(WepReg(1, 2));
    h.SelectTab(kEncryptionTab);
    EXPECT_EQ(1, h.Index(P::kLevelList));
    EXPECT_EQ("3A9C17E05B", h.Text(P::kHex64[0]));
    EXPECT_FALSE(h.ChangesPending());
}

// The sheet's OK applies while Apply Changes is enabled; a length message
// does not keep the sheet open.
TEST(EncryptionApply, OkOnTheSheetAppliesPendingChangesAndCloses) {
    const struct {
        const char* name;
        void (*edit)(PageHarness&);
        std::size_t writes, messages;
    } cases[] = {
        {"changed", [](PageHarness& h) { h.Choose(P::kLevelList, 1); }, 1, 0},
        {"unchanged", [](PageHarness&) {}, 0, 0},
        {"short key", [](PageHarness& h) { h.Type(P::kHex64[0], "12"); }, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageHarness h(WepReg(1, 2));
        c.edit(h);
        h.Ok();
        EXPECT_FALSE(h.sheet->isVisible());
        EXPECT_EQ(c.writes, h.WlanCalls().size());
        EXPECT_EQ(c.writes == 0, h.card.Calls().empty());
        EXPECT_EQ(c.messages, h.boxes.shown.size());
        EXPECT_EQ(0, gSheetOpen);
    }
}

// What the user typed into a key field survives every re-arrangement of the
// key controls and reaches the card; stars typed or pasted are a key like
// any other, never taken for the placeholder.
TEST(EncryptionApply, TypedKeysReachTheCardAfterAnyRearrangement) {
    const auto levelAndBack = [](PageHarness& h) {
        h.Choose(P::kLevelList, 2);
        h.Choose(P::kLevelList, 1);
    };
    const auto manualAgain = [](PageHarness& h) { h.Click(P::kManualRadio); };
    const struct {
        const char* name;
        std::uint32_t entryMode; // 2 hexadecimal, 3 ASCII
        int field;
        const char* text;
        bool pasted;
        void (*then)(PageHarness&);
        const char* sent;
    } cases[] = {
        {"ASCII, level and back", 3, P::kAscii64[0], "hello", false, levelAndBack, "68656C6C6F"},
        {"ASCII, Manual Entry again", 3, P::kAscii64[0], "hello", false, manualAgain, "68656C6C6F"},
        {"ASCII, passphrase and back", 3, P::kAscii64[0], "hello", false,
         [](PageHarness& h) {
             h.Click(P::kPassphraseRadio);
             h.Click(P::kManualRadio);
         },
         "68656C6C6F"},
        {"ASCII, then unchecked", 3, P::kAscii64[0], "hello", false,
         [](PageHarness& h) {
             h.Click(P::kAsciiBox);
             EXPECT_EQ(std::vector<std::string>{"hex-64"}, h.ShownGroups());
         },
         "68656C6C6F"},
        {"hex, Manual Entry again", 2, P::kHex64[0], "0a1b2c3d4e", false, manualAgain,
         "0A1B2C3D4E"},
        {"hex-128, in capitals", 2, P::kHex128[0], "00112233445566778899aabbcc", false,
         [](PageHarness& h) { h.Choose(P::kLevelList, 2); }, "00112233445566778899AABBCC"},
        {"ASCII-128, all 13 characters", 3, P::kAscii128[0], "Harbour-Key13", false,
         [](PageHarness&) {}, "486172626F75722D4B65793133"},
        {"pasted stars, level and back", 3, P::kAscii64[0], "*****", true, levelAndBack,
         "2A2A2A2A2A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool wide = c.field == P::kHex128[0] || c.field == P::kAscii128[0];
        PageHarness h(WepReg(wide ? 2 : 1, c.entryMode));
        if (c.pasted) {
            h.Control<CKeyEdit>(c.field)->InsertText(c.text);
        } else {
            h.Type(c.field, c.text);
        }
        c.then(h);
        h.Apply();
        ASSERT_EQ(1u, h.WlanCalls().size());
        EXPECT_EQ(c.sent, h.WlanCalls()[0].Key(0)->Hex());
        EXPECT_EQ(wide ? kDefault128KeyText : kDefault64KeyText, h.WlanCalls()[0].Key(1)->Hex());
        const WirelessReg reg = h.Reg();
        const auto narrow = FieldText(reg.keyText64[0]), broad = FieldText(reg.keyText128[0]);
        // The key is stored for its level, the other level's key stays.
        EXPECT_EQ(c.sent, wide ? broad : narrow);
        EXPECT_EQ(wide ? kDefault64KeyText : c.sent, narrow);
    }
}

// The key blocks with the transmit bit on the chosen default key, WEP on,
// then the SSID sent away and back, as the card's journal has the calls
// (blanks written as \x20).
TEST(EncryptionApply, KeysGoToTheCardWithTheTransmitBitOnTheChosenKeyThenTheSsidAwayAndBack) {
    WirelessReg reg = WepReg(0, 2);
    SetFieldText(reg.ssid, "Harbour Office");
    PageHarness h(reg);
    h.Choose(P::kLevelList, 1);
    h.Choose(P::kDefaultKeyList, 2);
    h.Apply();
    EXPECT_EQ(2, h.Reg().defaultKeyId);
    std::string calls; // the record stored first, as the Disabled case shows
    for (const std::string& line : h.card.Journal()) {
        calls += line.substr(0, line.find(" ->")) + "\n";
    }
    calls.erase(0, calls.find('\n') + 1);
    std::string keys;
    for (int n = 0; n < 4; ++n) {
        keys += " key" + std::to_string(n + 1) + "={length=20,index=" + std::to_string(n) +
                ",tx=" + (n == 2 ? "1" : "0") + ",keyLength=5,key=3A9C17E05B}";
    }
    EXPECT_EQ("TAVL_SetWLANConfig mask=0x0003F000" + keys +
                  " wepStatus=0 authMode=2\n"
                  "TAVL_SetSSID length=26 ssid=\"abcdefghijklmnopqrstuvwxyz\"\n"
                  "TAVL_SetSSID length=14 ssid=\"Harbour\\x20Office\"\n",
              calls);
    EXPECT_TRUE(h.boxes.shown.empty());
}

} // namespace
