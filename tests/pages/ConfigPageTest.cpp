// The Configuration page's settings: channel mask, mode, SSID notice,
// Restore Defaults, Apply Changes, and the sheet's OK and Cancel.
#include "PageHarness.h"

namespace {

using P = CConfigPage;

// The channel shown for a stored channel under a mask, the channel the next
// apply stores, and the one Restore Defaults proposes: 6 or the lowest
// allowed. "" is no selection.
TEST(ConfigPage, ShowsStoresAndProposesOnlyAllowedChannels) {
    const QStringList k1To11{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    const struct {
        std::uint16_t iniMask, cardMask;
        std::uint32_t channel;
        QStringList entries;
        QString shown;
        std::uint32_t stored;
        QString proposed;
    } cases[] = {
        {0, 0x07FF, 13, k1To11, "1", 1, "6"},
        {0, 0x07FF, 11, k1To11, "11", 11, "6"},
        {0x1000, 0x07FF, 6, {"13"}, "13", 13, "13"},
        {0, 0x3FFF, 14, {}, "14", 14, "6"},
        {0, 0x0600, 0, {"10", "11"}, "10", 10, "10"},
        {0, 0x07FF, 15, k1To11, "1", 1, "6"},
        {0, 0, 6, {}, "", 6, ""},
        {0, 0xC000, 3, {}, "", 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cardMask << " channel " << c.channel);
        PageHarness h;
        gIniChannelMask = c.iniMask;
        h.SetChannelMask(c.cardMask);
        h.Store({Record("default", "lab", c.channel, 0)});
        h.OpenOn(kConfigTab);
        if (!c.entries.isEmpty()) {
            EXPECT_EQ(c.entries, h.Entries(P::IDC_CHANNEL));
        }
        EXPECT_EQ(c.shown, h.Text(P::IDC_CHANNEL));
        // Loading already puts the replacement into `reg`, storing nothing.
        EXPECT_EQ(c.stored, h.Reg().channel);
        EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
        h.sheet->m_ConfigPage.ApplyChanges();
        EXPECT_EQ(c.stored, h.card.Profile("default")->channel);
        // Restore Defaults stores nothing until Apply Changes.
        h.Click(P::IDC_RESTORE_DEFAULTS);
        EXPECT_EQ((QStringList{"Infrastructure", c.proposed}),
                  (QStringList{h.Text(P::IDC_MODE), h.Text(P::IDC_CHANNEL)}));
        EXPECT_EQ(1u, h.card.CountOf("SetProfileWireless"));
        EXPECT_EQ(c.stored, h.Reg().channel);
    }
}

TEST(ConfigPage, FailedMaskReadOffersNoChannel) {
    PageHarness h;
    h.Store({Record("default", "lab", 4, 0)});
    h.Open();
    h.card.FailGetBits(TAVL_MASK_CHANNEL_MASK);
    h.SelectTab(kConfigTab);
    EXPECT_EQ(0, h.Control<QComboBox>(P::IDC_CHANNEL)->count());
    EXPECT_EQ(4u, h.Reg().channel);
}

TEST(ConfigPage, ModeSwitchingEnablesTheListsOfThatMode) {
    PageHarness h(kConfigTab, {Record("default", "lab", 6, 1, 1)});
    EXPECT_FALSE(h.Enabled(P::IDC_CHANNEL));
    EXPECT_TRUE(h.Enabled(P::IDC_POWER_SAVE));
    h.ChooseText(P::IDC_MODE, "Ad-Hoc");
    EXPECT_TRUE(h.Enabled(P::IDC_CHANNEL));
    EXPECT_FALSE(h.Enabled(P::IDC_POWER_SAVE));
    EXPECT_EQ("Disabled", h.Text(P::IDC_POWER_SAVE));
    h.Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(0u, h.Reg().opMode);
    EXPECT_EQ(0u, h.Reg().powerSaveMode);
}

// A stored value the page has no entry for shows no selection and is kept
// until the user picks one.
TEST(ConfigPage, StoredModeOrPowerSavingOutsideTheListIsShownAsNoneAndKept) {
    PageHarness h(kConfigTab, {Record("default", "lab", 6, 7, 5)});
    EXPECT_EQ("", h.Text(P::IDC_MODE));
    EXPECT_EQ("", h.Text(P::IDC_POWER_SAVE));
    h.Replace(P::IDC_SSID, "lab2");
    h.Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(7u, h.Reg().opMode);
    EXPECT_EQ(5u, h.Reg().powerSaveMode);
    h.Click(P::IDC_RESTORE_DEFAULTS);
    h.Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(1u, h.Reg().opMode);
    EXPECT_EQ(0u, h.Reg().powerSaveMode);
}

// ---- The SSID -----------------------------------------------------------

// A character outside ASCII typed or pasted into the SSID brings a notice
// (a queued call) and keeps the text before it, the caret at its end. At
// most one notice a second: 1000 ms after one is still too soon and the
// text stays as typed, yet Apply stores only its ASCII part; the next
// change checks again, 1001 ms after the notice.
TEST(ConfigPage, SsidNoticeKeepsTheTextBeforeTheFirstNonAsciiCharacterAtMostOncePerSecond) {
    const struct {
        int ms;
        int caret;         // where the user types; -1 at the end
        const char* typed; // typed key by key, or pasted at once
        bool paste;
        std::size_t notices;
        const char* shown;
        const char* stored; // and shown after Apply Changes
    } steps[] = {
        {5000, 3, "x\u00e9", false, 1, "labx", "labx"},
        {5000, 1, "\u00fc", false, 2, "l", "l"},
        {5000, 0, "\u00f1", false, 3, "", ""},
        {5000, 0, "cafe\u20acbar", true, 4, "cafe", "cafe"},
        {5000, 2, "\u0080", true, 5, "ca", "ca"},
        {1000, -1, "1\u00e92", false, 5, "ca1\u00e92", "ca1"},
        {1, -1, "\u00e9", false, 6, "ca1", "ca1"},
    };
    PageHarness h(kConfigTab, {Record("default", "lab")});
    QLineEdit* ssid = h.Edit(P::IDC_SSID);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.typed);
        h.clock.Advance(step.ms);
        ssid->setCursorPosition(step.caret < 0 ? static_cast<int>(ssid->text().size())
                                               : step.caret);
        const std::size_t before = h.boxes.shown.size();
        if (step.paste) {
            ssid->insert(QString::fromUtf8(step.typed));
        } else {
            h.Type(P::IDC_SSID, QString::fromUtf8(step.typed));
        }
        EXPECT_EQ(before, h.boxes.shown.size());
        h.Drain();
        EXPECT_EQ(std::vector<QString>(step.notices, "SSID accepts ASCII characters only."),
                  h.boxes.Texts());
        EXPECT_EQ(QString::fromUtf8(step.shown), ssid->text());
        EXPECT_EQ(ssid->text().size(), ssid->cursorPosition());
        h.Click(P::IDC_APPLY_CHANGES);
        EXPECT_EQ(step.stored, FieldText(h.card.Profile("default")->ssid));
        EXPECT_EQ(step.stored, h.Text(P::IDC_SSID));
    }
}

// ---- Apply Changes, OK and Cancel -------------------------------------------

TEST(ConfigPage, ApplyChangesStoresThePageOverTheStoredProfileWithAutoRate) {
    PageHarness h;
    WirelessReg stored = Record("home", "old", 3, 1, 0);
    stored.txRate = 8;
    stored.encryptionLevel = 2;
    stored.fragThreshold = 1000;
    h.Store({stored});
    h.sheet->state.reg.Update([](WirelessReg& reg) { reg.fragThreshold = 2346; });
    h.OpenOn(kConfigTab);
    h.Replace(P::IDC_SSID, "new-net");
    h.card.ClearCalls();
    h.Click(P::IDC_APPLY_CHANGES);

    EXPECT_EQ((std::vector<std::string>{"GetProfileWireless", "SetProfileWireless",
                                        "SetActiveProfileByType"}),
              h.card.CallNames());
    // The stored record with the page's SSID and the automatic rate.
    WirelessReg expected = stored;
    SetFieldText(expected.ssid, "new-net");
    expected.txRate = 15;
    const WirelessReg reg = h.Reg(), profile = *h.card.Profile("home");
    EXPECT_EQ(0, std::memcmp(&expected, &profile, sizeof expected));
    EXPECT_EQ(0, std::memcmp(&expected, &reg, sizeof reg));
    EXPECT_EQ("home", h.card.ActiveProfile());
    EXPECT_EQ(1, gChangeParametersRequest);
    EXPECT_EQ(0, gApplyConfigRequest);
    // Undo Changes goes back to what was applied.
    h.Replace(P::IDC_SSID, "other");
    h.Click(P::IDC_UNDO_CHANGES);
    EXPECT_EQ("new-net", h.Text(P::IDC_SSID));
}

} // namespace
