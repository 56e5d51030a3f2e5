// The Configuration page's settings: template, lists, channel mask, mode,
// SSID notice, Restore Defaults, Undo Changes and Apply Changes.
#include "ConfigPageTestFixture.h"

#include <QLabel>

namespace configpage {
namespace {

using P = CConfigPage;

// The channel shown for a stored channel under a mask, and the channel the
// next apply stores. "" is no selection.
struct ChannelCase {
    const char* name;
    std::uint16_t iniMask;
    std::uint16_t cardMask;
    std::uint32_t channel;
    QStringList entries;
    QString shown;
    std::uint32_t stored;
};

void PrintTo(const ChannelCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigPageChannels : public ConfigPageTest,
                           public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(ConfigPageChannels, ShowsAndStoresOnlyAllowedChannels) {
    const ChannelCase& c = GetParam();
    gIniChannelMask = c.iniMask;
    SetCardChannelMask(c.cardMask);
    OpenPage({Record("default", "lab", c.channel, 0)});
    if (!c.entries.isEmpty()) {
        EXPECT_EQ(c.entries, Entries(P::IDC_CHANNEL));
    }
    EXPECT_EQ(c.shown, Shown(P::IDC_CHANNEL));
    // Loading already puts the replacement into `reg`, storing nothing.
    EXPECT_EQ(c.stored, Reg().channel);
    EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
    Page().ApplyChanges();
    ASSERT_TRUE(h.card.LastCall("SetProfileWireless"));
    EXPECT_EQ(c.stored, h.card.LastCall("SetProfileWireless")->reg->channel);
    EXPECT_EQ(c.stored, Reg().channel);
}

const QStringList k1To11{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};

INSTANTIATE_TEST_SUITE_P(
    Masks, ConfigPageChannels,
    ::testing::Values(
        ChannelCase{"Channel13Under1To11ShowsAndStores1", 0, 0x07FF, 13, k1To11, "1", 1},
        ChannelCase{"AllowedChannelIsKept", 0, 0x07FF, 11, k1To11, "11", 11},
        ChannelCase{"SettingsFileMaskWinsOverTheCard", 0x1000, 0x07FF, 6, {"13"}, "13", 13},
        ChannelCase{"Channel14WhenAllowed", 0, 0x3FFF, 14, {}, "14", 14},
        ChannelCase{"Channel0ShowsLowestAllowed", 0, 0x0600, 0, {"10", "11"}, "10", 10},
        ChannelCase{"Channel15ShowsLowestAllowed", 0, 0x07FF, 15, k1To11, "1", 1},
        ChannelCase{"EmptyMaskShowsNoneAndKeepsTheChannel", 0, 0, 6, {}, "", 6},
        ChannelCase{"EmptyMaskKeepsChannel15", 0, 0, 15, {}, "", 15},
        ChannelCase{"Bits14And15NameNoChannel", 0, 0xC000, 3, {}, "", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigPageTest, FailedMaskReadOffersNoChannel) {
    Store({Record("default", "lab", 4, 0)});
    h.Open();
    h.card.FailGetBits(TAVL_MASK_CHANNEL_MASK);
    h.SelectTab(kConfigTab);
    h.Drain();
    EXPECT_EQ(0, List(P::IDC_CHANNEL)->count());
    EXPECT_EQ(4u, Reg().channel);
}

struct DefaultsCase {
    const char* name;
    std::uint16_t mask;
    QString channel;
};

void PrintTo(const DefaultsCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigPageRestoreDefaults : public ConfigPageTest,
                                  public ::testing::WithParamInterface<DefaultsCase> {};

TEST_P(ConfigPageRestoreDefaults, ProposesChannel6OrTheLowestAllowed) {
    SetCardChannelMask(GetParam().mask);
    OpenPage({Record("default", "lab", 11, 0, 0)});
    Click(P::IDC_RESTORE_DEFAULTS);
    EXPECT_EQ("Infrastructure", Shown(P::IDC_MODE));
    EXPECT_EQ(GetParam().channel, Shown(P::IDC_CHANNEL));
    // Nothing is stored until Apply Changes.
    EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
    EXPECT_EQ("lab", FIELD(Reg().ssid));
}

INSTANTIATE_TEST_SUITE_P(Masks, ConfigPageRestoreDefaults,
                         ::testing::Values(DefaultsCase{"With6", 0x07FF, "6"},
                                           DefaultsCase{"Without6", 0x3E00, "10"},
                                           DefaultsCase{"Only13", 0x1000, "13"},
                                           DefaultsCase{"NoChannel", 0, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigPageTest, ModeSwitchingEnablesTheListsOfThatMode) {
    OpenPage({Record("default", "lab", 6, 1, 1)});
    EXPECT_FALSE(Enabled(P::IDC_CHANNEL));
    EXPECT_TRUE(Enabled(P::IDC_POWER_SAVE));
    ChooseText(P::IDC_MODE, "Ad-Hoc");
    EXPECT_TRUE(Enabled(P::IDC_CHANNEL));
    EXPECT_FALSE(Enabled(P::IDC_POWER_SAVE));
    EXPECT_EQ("Disabled", Shown(P::IDC_POWER_SAVE));
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(0u, Reg().opMode);
    EXPECT_EQ(0u, Reg().powerSaveMode);
}

// A stored value the page has no entry for shows no selection and is kept
// until the user picks one.
TEST_F(ConfigPageTest, StoredModeOrPowerSavingOutsideTheListIsShownAsNoneAndKept) {
    OpenPage({Record("default", "lab", 6, 7, 5)});
    EXPECT_EQ("", Shown(P::IDC_MODE));
    EXPECT_EQ("", Shown(P::IDC_POWER_SAVE));
    TypeSsid("lab2");
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(7u, Reg().opMode);
    EXPECT_EQ(5u, Reg().powerSaveMode);
    Click(P::IDC_RESTORE_DEFAULTS);
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(1u, Reg().opMode);
    EXPECT_EQ(0u, Reg().powerSaveMode);
}

// ---- The SSID -----------------------------------------------------------

struct SsidCase {
    const char* name;
    QString before;   // the SSID shown before the edit
    int caret;        // where the user types
    QString typed;    // typed or pasted there
    bool paste;       // one paste instead of key by key
    QString accepted; // what the edit holds after the notice
};

void PrintTo(const SsidCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigPageSsidNotice : public ConfigPageTest,
                             public ::testing::WithParamInterface<SsidCase> {};

TEST_P(ConfigPageSsidNotice, KeepsTheTextBeforeTheFirstNonAsciiCharacter) {
    const SsidCase& c = GetParam();
    OpenPage({Record("default", c.before.toLatin1().constData())});
    Ssid()->setCursorPosition(c.caret);
    if (c.paste) {
        Ssid()->insert(c.typed);
    } else {
        Type(Ssid(), c.typed);
    }
    // The notice is a queued call: nothing has happened yet.
    EXPECT_TRUE(h.boxes.shown.empty());
    h.Drain();
    EXPECT_EQ(c.accepted, Ssid()->text());
    ASSERT_EQ(1u, h.boxes.shown.size());
    EXPECT_EQ("SSID accepts ASCII characters only.", h.boxes.shown[0].text);
    EXPECT_EQ(c.accepted.size(), Ssid()->cursorPosition());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ConfigPageSsidNotice,
    ::testing::Values(
        SsidCase{"TypedAtTheEnd", "lab", 3, QString::fromUtf8("xé"), false, "labx"},
        SsidCase{"TypedInTheMiddle", "lab", 1, QString::fromUtf8("ü"), false, "l"},
        SsidCase{"TypedFirst", "lab", 0, QString::fromUtf8("ñ"), false, ""},
        SsidCase{"PastedWithTextAfter", "", 0, QString::fromUtf8("cafe€bar"), true, "cafe"},
        SsidCase{"ControlCharacterOfLatin1", "ab", 2, QString(QChar(0x80)), true, "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigPageTest, SsidNoticeAtMostOncePerSecond) {
    OpenPage({Record("default", "lab")});
    const QString bad = QString::fromUtf8("é");
    h.clock.Advance(5000);
    Type(Ssid(), bad);
    h.Drain();
    ASSERT_EQ(1u, h.boxes.shown.size());
    EXPECT_EQ("lab", Ssid()->text());

    // 1000 ms later is still too soon: the text stays as typed.
    h.clock.Advance(1000);
    Type(Ssid(), bad);
    h.Drain();
    EXPECT_EQ(1u, h.boxes.shown.size());
    EXPECT_EQ(QString::fromUtf8("labé"), Ssid()->text());

    // The next change checks again; 1001 ms after the notice it is shown.
    h.clock.Advance(1);
    Type(Ssid(), "x");
    h.Drain();
    EXPECT_EQ(2u, h.boxes.shown.size());
    EXPECT_EQ("lab", Ssid()->text());
}

TEST_F(ConfigPageTest, SuppressedNoticeStillStoresOnlyTheAsciiPart) {
    OpenPage({Record("default", "lab")});
    Type(Ssid(), QString::fromUtf8("é"));
    h.Drain();
    Type(Ssid(), QString::fromUtf8("1é2"));
    h.Drain();
    ASSERT_EQ(1u, h.boxes.shown.size());
    ASSERT_EQ(QString::fromUtf8("lab1é2"), Ssid()->text());
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ("lab1", FIELD(h.card.LastCall("SetProfileWireless")->reg->ssid));
    EXPECT_EQ("lab1", Ssid()->text());
}

// ---- Apply Changes and Undo Changes -----------------------------------------

TEST_F(ConfigPageTest, ApplyChangesStoresThePageOverTheStoredProfileWithAutoRate) {
    WirelessReg stored = Record("home", "old", 3, 1, 0);
    stored.txRate = 8;
    stored.encryptionLevel = 2;
    stored.fragThreshold = 1000;
    Store({stored});
    WirelessReg live = Reg();
    live.fragThreshold = 2346;
    h.sheet->state.reg.Set(live);
    OpenPage();
    TypeSsid("new-net");
    h.card.ClearCalls();
    Click(P::IDC_APPLY_CHANGES);

    EXPECT_EQ((std::vector<std::string>{"GetProfileWireless", "SetProfileWireless",
                                        "SetActiveProfileByType"}),
              h.card.CallNames());
    const CardCall set = *h.card.LastCall("SetProfileWireless");
    // The stored record with the page's SSID and the automatic rate.
    WirelessReg expected = stored;
    SetFieldText(expected.ssid, "new-net");
    expected.txRate = 15;
    EXPECT_EQ(0, std::memcmp(&expected, &*set.reg, sizeof expected));
    EXPECT_EQ("home", set.textArg);
    const WirelessReg reg = Reg();
    EXPECT_EQ(0, std::memcmp(&reg, &*set.reg, sizeof reg));
    EXPECT_EQ("home", h.card.LastCall("SetActiveProfileByType")->textArg);
    EXPECT_EQ(1, gChangeParametersRequest);
    EXPECT_EQ(0, gApplyConfigRequest);
}

// ---- The sheet's OK and Cancel ------------------------------------------------

TEST_F(ConfigPageTest, OkWithPendingChangesStoresIntoTheActiveProfileAndApplies) {
    OpenPage({Record("home", "lab", 6, 1, 0)});
    TypeSsid("from-ok");
    h.card.ClearCalls();
    QTest::mouseClick(h.sheet->findChild<QPushButton*>(QString::number(SheetControls::kOkButton)),
                      Qt::LeftButton);

    EXPECT_EQ((std::vector<std::string>{"SetActiveProfileByType", "SetProfileWireless"}),
              h.card.CallNames());
    EXPECT_EQ("home", h.card.LastCall("SetActiveProfileByType")->textArg);
    const CardCall set = *h.card.LastCall("SetProfileWireless");
    EXPECT_TRUE(set.nullText);
    EXPECT_EQ(1, gChangeParametersRequest);
    EXPECT_EQ(0, gSheetOpen);
    EXPECT_EQ("from-ok", FIELD(h.card.Profile("home")->ssid));
}

TEST_F(ConfigPageTest, CancelStoresNothingAndTheNextOpeningFillsTheListsAgain) {
    OpenPage({Record("default", "lab"), Record("home", "h")});
    TypeSsid("cancelled");
    h.card.ClearCalls();
    h.Cancel();
    EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
    OpenPage();
    EXPECT_EQ((QStringList{"default", "home"}), Entries(P::IDC_PROFILE));
    EXPECT_EQ(11, List(P::IDC_CHANNEL)->count());
    EXPECT_EQ("lab", Ssid()->text());
}

// Taking the pages out of a closing sheet moves its current tab; that must
// not create the Configuration page's window, which reads the card.
TEST_F(ConfigPageTest, DestroyingTheSheetActivatesNoPage) {
    Store({Record("default", "lab")});
    for (int tab : {0, 2, 3, 4}) {
        SCOPED_TRACE(tab);
        h.Open();
        h.SelectTab(tab);
        h.card.ClearCalls();
        h.sheet.reset();
        EXPECT_EQ(0u, h.card.CountOf("GetWLANConfig"));
        h.sheet = std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), h.card, h.clock);
    }
}

} // namespace
} // namespace configpage
