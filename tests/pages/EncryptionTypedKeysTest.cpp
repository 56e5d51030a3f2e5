// What the user typed into a key field survives every re-arrangement of the
// key controls and reaches the card; stars typed or pasted are a key like
// any other, never taken for the placeholder.
#include "EncryptionPageHarness.h"

#include <gtest/gtest.h>

namespace {

using P = CEncryptionPage;

void Nothing(EncryptionHarness&) {}
void LevelAndBack(EncryptionHarness& h) {
    h.Choose(P::kLevelList, 2);
    h.Choose(P::kLevelList, 1);
}
void ManualAgain(EncryptionHarness& h) {
    h.Click(P::kManualRadio);
}
void UncheckAscii(EncryptionHarness& h) {
    h.Click(P::kAsciiBox);
}
void PassphraseAndBack(EncryptionHarness& h) {
    h.Click(P::kPassphraseRadio);
    h.Click(P::kManualRadio);
}

TEST(EncryptionTypedKeys, ReachTheCardAfterAnyRearrangement) {
    const struct {
        const char* name;
        std::uint32_t entryMode; // 2 hexadecimal, 3 ASCII
        int field;
        const char* text;
        bool pasted;
        void (*then)(EncryptionHarness&);
        const char* sent;
    } cases[] = {
        {"ASCII, level and back", 3, P::kAscii64[0], "hello", false, LevelAndBack, "68656C6C6F"},
        {"ASCII, Manual Entry again", 3, P::kAscii64[0], "hello", false, ManualAgain, "68656C6C6F"},
        {"ASCII, passphrase and back", 3, P::kAscii64[0], "hello", false, PassphraseAndBack,
         "68656C6C6F"},
        {"ASCII, then unchecked", 3, P::kAscii64[0], "hello", false, UncheckAscii, "68656C6C6F"},
        {"hex, Manual Entry again", 2, P::kHex64[0], "0a1b2c3d4e", false, ManualAgain,
         "0A1B2C3D4E"},
        {"pasted stars", 3, P::kAscii64[0], "*****", true, Nothing, "2A2A2A2A2A"},
        {"pasted stars, level and back", 3, P::kAscii64[0], "*****", true, LevelAndBack,
         "2A2A2A2A2A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EncryptionHarness h(WepReg(1, c.entryMode));
        if (c.pasted) {
            h.Key(c.field)->InsertText(Q(c.text));
        } else {
            h.Type(c.field, Q(c.text));
        }
        c.then(h);
        h.Apply();
        ASSERT_EQ(1u, h.WlanCalls().size());
        EXPECT_EQ(c.sent, h.WlanCalls()[0].Key(0)->Hex());
        EXPECT_EQ(kDefault64KeyText, h.WlanCalls()[0].Key(1)->Hex());
        EXPECT_EQ(c.sent, FieldText(h.Reg().keyText64[0]));
    }
}

} // namespace
