// The Configuration page's profile box: listing, selecting, typing, Create,
// Remove and Activate, and the full apply a picked profile requests.
#include "ConfigPageTestFixture.h"

#include "device/PollingThread.h"
#include "tests/fakes/FakeHostUi.h"

namespace configpage {
namespace {

using P = CConfigPage;

TEST_F(ConfigPageTest, ListsStoredProfilesSortedAndNamesTheActiveOne) {
    OpenPage(
        {Record("work", "w"), Record("Home", "h"), Record("default", "d"), Record("alpha", "a")});
    EXPECT_EQ((QStringList{"alpha", "default", "Home", "work"}), Entries(P::IDC_PROFILE));
    EXPECT_EQ("work", ProfileBox()->currentText());
}

TEST_F(ConfigPageTest, EmptyStoreCreatesDefaultFromRegWithoutAskingTheThread) {
    h.sheet->state.reg.Set(DefaultWirelessReg());
    // A change request another apply raised stays for the thread.
    gChangeParametersRequest = 1;
    OpenPage();
    EXPECT_EQ((QStringList{"default"}), Entries(P::IDC_PROFILE));
    EXPECT_EQ("default", h.card.ActiveProfile().value_or(""));
    EXPECT_EQ(0u, h.card.CountOf("GetProfileWireless"));
    EXPECT_EQ("any", FIELD(h.card.Profile("default").value().ssid));
    EXPECT_EQ(1, gChangeParametersRequest);
    EXPECT_EQ(0, gApplyConfigRequest);
}

// Only a store that says it has no more profiles is empty: a failing
// enumeration creates no "default" over the stored one.
TEST_F(ConfigPageTest, AFailingEnumerationIsNoEmptyStore) {
    h.card.FailEverything(true);
    OpenPage();
    EXPECT_TRUE(Entries(P::IDC_PROFILE).isEmpty());
    EXPECT_LE(h.card.CountOf("EnumProfilesByType"), 1u);
    EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
    EXPECT_EQ(0u, h.card.CountOf("SetActiveProfileByType"));
}

// ---- The button states --------------------------------------------------------

struct ButtonRow {
    const char* name;
    const char* active; // the active profile at the opening; "" for an empty store
    void (*act)(ConfigPageTest&);
    bool create, activate, remove;
};

void PrintTo(const ButtonRow& c, std::ostream* os) {
    *os << c.name;
}

class ConfigPageButtons : public ConfigPageTest, public ::testing::WithParamInterface<ButtonRow> {};

TEST_P(ConfigPageButtons, FollowTheTable) {
    const ButtonRow& row = GetParam();
    const WirelessReg home = Record("home", "h"), work = Record("work", "w");
    const WirelessReg def = Record("default", "d");
    if (std::string(row.active) == "home") {
        Store({home, def, work});
    } else if (std::string(row.active) == "default") {
        Store({def, home, work});
    } else {
        h.sheet->state.reg.Set(DefaultWirelessReg());
    }
    OpenPage();
    row.act(*this);
    EXPECT_EQ(row.create, Enabled(P::IDC_CREATE));
    EXPECT_EQ(row.activate, Enabled(P::IDC_ACTIVATE));
    EXPECT_EQ(row.remove, Enabled(P::IDC_REMOVE));
}

// What the user does after the opening, one step of a row each.
struct Act {
    static void Nothing(ConfigPageTest&) {}
    static void PickWork(ConfigPageTest& t) { t.ChooseText(P::IDC_PROFILE, "work"); }
    static void PickDefault(ConfigPageTest& t) { t.ChooseText(P::IDC_PROFILE, "default"); }
    static void TypeWork(ConfigPageTest& t) { t.TypeProfileName("WORK"); }
    static void TypeDefault(ConfigPageTest& t) { t.TypeProfileName("DEFAULT"); }
    static void TypeLab(ConfigPageTest& t) { t.TypeProfileName("lab"); }
    static void EmptyTheBox(ConfigPageTest& t) { t.TypeProfileName(""); }
    static void CreateLab(ConfigPageTest& t) {
        TypeLab(t);
        t.Click(P::IDC_CREATE);
    }
    static void CreateWork(ConfigPageTest& t) {
        t.ProfileBox()->setEditText("Work");
        t.Page().OnCreateProfile();
    }
    static void ApplySsid(ConfigPageTest& t) {
        t.TypeSsid("x");
        t.Click(P::IDC_APPLY_CHANGES);
    }
    static void ActivateWork(ConfigPageTest& t) {
        PickWork(t);
        t.Click(P::IDC_ACTIVATE);
    }
    static void UndoEdits(ConfigPageTest& t) {
        t.TypeSsid("x");
        TypeLab(t);
        t.Click(P::IDC_UNDO_CHANGES);
    }
    static void RestoreOnWork(ConfigPageTest& t) {
        PickWork(t);
        t.Click(P::IDC_RESTORE_DEFAULTS);
    }
};

INSTANTIATE_TEST_SUITE_P(
    Table, ConfigPageButtons,
    ::testing::Values(
        ButtonRow{"ActivatedOnDefault", "default", Act::Nothing, false, false, false},
        ButtonRow{"ActivatedOnAnother", "home", Act::Nothing, false, false, true},
        ButtonRow{"ActivatedAfterDefaultWasCreated", "", Act::Nothing, false, true, false},
        ButtonRow{"EntrySelected", "home", Act::PickWork, false, true, true},
        ButtonRow{"DefaultSelected", "home", Act::PickDefault, false, true, false},
        ButtonRow{"TypedNameFound", "home", Act::TypeWork, false, true, true},
        ButtonRow{"TypedDefaultInCapitals", "home", Act::TypeDefault, false, true, false},
        ButtonRow{"TypedNameNotFound", "home", Act::TypeLab, true, false, false},
        ButtonRow{"BoxEmptied", "home", Act::EmptyTheBox, false, false, false},
        ButtonRow{"AfterCreate", "default", Act::CreateLab, false, true, true},
        ButtonRow{"AfterCreateRefused", "default", Act::CreateWork, false, false, true},
        ButtonRow{"AfterApplyChanges", "home", Act::ApplySsid, false, false, true},
        ButtonRow{"AfterActivate", "home", Act::ActivateWork, false, false, true},
        ButtonRow{"AfterUndoChanges", "home", Act::UndoEdits, false, false, false},
        ButtonRow{"AfterRestoreDefaults", "home", Act::RestoreOnWork, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Selecting and typing ------------------------------------------------------

TEST_F(ConfigPageTest, SelectingAProfileShowsItWithoutTouchingRegOrTheCard) {
    OpenPage({Record("home", "home-net", 6, 1), Record("work", "work-net", 4, 0)});
    h.card.ClearCalls();
    ChooseText(P::IDC_PROFILE, "work");
    EXPECT_EQ((std::vector<std::string>{"GetProfileWireless"}), h.card.CallNames());
    EXPECT_EQ("work-net", Ssid()->text());
    EXPECT_EQ(1, Page().m_ProfileSelected);
    // `reg` keeps the active profile's record until the pick is activated.
    EXPECT_EQ("home-net", FIELD(Reg().ssid));
    EXPECT_EQ("home", h.card.ActiveProfile().value_or(""));
    // Undo keeps the picked profile on the page and in the box.
    TypeSsid("x");
    Click(P::IDC_UNDO_CHANGES);
    EXPECT_EQ("work", ProfileBox()->currentText());
    EXPECT_EQ("work-net", Ssid()->text());
    EXPECT_EQ(0, Page().m_ProfileSelected);
}

TEST_F(ConfigPageTest, TypedNameIsCutAt64CharactersWithTheCaretAtTheEnd) {
    OpenPage({Record("home", "h")});
    TypeProfileName(QString(65, QChar('b')));
    h.Drain();
    EXPECT_EQ(QString(64, QChar('b')), ProfileBox()->currentText());
    EXPECT_EQ(64, ProfileBox()->lineEdit()->cursorPosition());
    Click(P::IDC_CREATE);
    EXPECT_EQ(std::string(64, 'b'), h.card.LastCall("SetProfileWireless")->textArg);
    EXPECT_EQ(std::string(64, 'b'), FIELD(Reg().profileName));

    // Characters, not UTF-16 units, count: a character outside the basic
    // plane is kept whole or cut whole.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    PasteProfileName(QString(63, QChar('c')) + emoji);
    EXPECT_EQ(QString(63, QChar('c')) + emoji, ProfileBox()->currentText());
    PasteProfileName(QString(64, QChar('d')) + emoji);
    EXPECT_EQ(QString(64, QChar('d')), ProfileBox()->currentText());
}

TEST_F(ConfigPageTest, TypedNewNameSurvivesOtherEditsEvenAsThePrefixOfAnEntry) {
    OpenPage({Record("home", "h")});
    TypeProfileName("ho");
    TypeSsid("net");
    ChooseText(P::IDC_POWER_SAVE, "Enabled");
    EXPECT_EQ("ho", ProfileBox()->currentText());
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ("ho", h.card.LastCall("SetProfileWireless")->textArg);
    EXPECT_EQ("h", FIELD(h.card.Profile("home")->ssid));
}

// ---- Create -------------------------------------------------------------------

TEST_F(ConfigPageTest, CreateStoresThePageUnderTheNewNameWithRegsOtherFields) {
    WirelessReg home = Record("home", "h");
    home.encryptionLevel = 1;
    OpenPage({home, Record("default", "d")});
    TypeSsid("lab-net");
    TypeProfileName("lab");
    h.card.ClearCalls();
    Click(P::IDC_CREATE);
    EXPECT_EQ((std::vector<std::string>{"SetProfileWireless", "SetActiveProfileByType"}),
              h.card.CallNames());
    const WirelessReg stored = *h.card.Profile("lab");
    EXPECT_EQ("lab-net", FIELD(stored.ssid));
    EXPECT_EQ(1u, stored.encryptionLevel);
    EXPECT_EQ("lab", h.card.ActiveProfile().value_or(""));
}

TEST_F(ConfigPageTest, CreatingACaseDifferentDuplicateIsRefused) {
    OpenPage({Record("home", "h"), Record("Work", "w")});
    h.card.ClearCalls();
    ProfileBox()->setEditText("wORK");
    Page().OnCreateProfile();
    ASSERT_EQ(1u, h.boxes.shown.size());
    EXPECT_EQ("The profile is already exist. Please use a different name.", h.boxes.shown[0].text);

    // The refused creation leaves nothing pending: the next apply brings
    // the page's values to the card.
    TypeSsid("x");
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(1, gChangeParametersRequest);
}

TEST_F(ConfigPageTest, EmptyNameCreatesNothingAndAppliesToTheProfileInReg) {
    OpenPage({Record("home", "h")});
    TypeProfileName("");
    Page().OnCreateProfile();
    EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
    TypeSsid("net");
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ("home", h.card.LastCall("SetProfileWireless")->textArg);
}

// Names reach the store exactly as typed; the store alone decides where
// they are kept.
class ConfigPageOddNames : public ConfigPageTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(ConfigPageOddNames, ReachTheStoreUnchanged) {
    OpenPage({Record("default", "d")});
    const QString name = QString::fromUtf8(GetParam());
    TypeProfileName(name);
    h.card.ClearCalls();
    Click(P::IDC_CREATE);
    EXPECT_EQ((std::vector<std::string>{"SetProfileWireless", "SetActiveProfileByType"}),
              h.card.CallNames());
    EXPECT_EQ(GetParam(), h.card.LastCall("SetProfileWireless")->textArg);
    EXPECT_EQ(name, ProfileBox()->currentText());
}

INSTANTIATE_TEST_SUITE_P(Names, ConfigPageOddNames,
                         ::testing::Values("../../etc/passwd", "a/b", "..", "two words", " lead",
                                           "Caf\xC3\xA9", "\xE5\x90\x8D\xE5\x89\x8D"));

TEST_F(ConfigPageTest, LongUtf8NameIsCutInTheRecordAtACharacterBoundary) {
    OpenPage({Record("default", "d")});
    struct Row {
        QString name;
        std::string field;
    };
    const QString e = QString::fromUtf8("\xC3\xA9");         // 2 bytes
    const QString kanji = QString::fromUtf8("\xE5\x90\x8D"); // 3 bytes
    const Row rows[] = {
        {e.repeated(64), e.repeated(32).toStdString()},
        {QString("a") + e.repeated(40), (QString("a") + e.repeated(31)).toStdString()},
        {kanji.repeated(22), kanji.repeated(21).toStdString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        TypeProfileName(row.name);
        Click(P::IDC_CREATE);
        EXPECT_EQ(row.name.toStdString(), h.card.LastCall("SetProfileWireless")->textArg);
        EXPECT_EQ(row.field, FIELD(Reg().profileName));
        // Undo finds the listed profile behind the cut name.
        TypeSsid("x");
        Click(P::IDC_UNDO_CHANGES);
        EXPECT_EQ(row.name, ProfileBox()->currentText());
    }
}

// ---- Remove --------------------------------------------------------------------

TEST_F(ConfigPageTest, RemovingTheActiveProfileMakesDefaultActiveAndLoadsIt) {
    OpenPage({Record("home", "home-net"), Record("default", "default-net", 3, 0)});
    h.card.ClearCalls();
    // Answered No, the question leaves the store alone.
    h.boxes.answers.push_back(IDNO);
    Click(P::IDC_REMOVE);
    EXPECT_TRUE(h.card.CallNames().empty());
    Click(P::IDC_REMOVE);
    ASSERT_EQ(2u, h.boxes.shown.size());
    EXPECT_EQ("Do you want to remove profile: home?", h.boxes.shown[1].text);
    EXPECT_EQ((std::vector<std::string>{"DeleteProfileByType", "SetActiveProfileByType",
                                        "GetProfileWireless"}),
              h.card.CallNames());
    EXPECT_FALSE(h.card.Profile("home"));
    EXPECT_EQ("default", h.card.ActiveProfile().value_or(""));
    EXPECT_EQ("default-net", Ssid()->text());
    EXPECT_EQ(0, gApplyConfigRequest);

    // The card keeps its settings until Activate brings "default" to it.
    Click(P::IDC_ACTIVATE);
    EXPECT_EQ(1, gApplyConfigRequest);
}

TEST_F(ConfigPageTest, DefaultCannotBeRemovedUnderAnySpelling) {
    OpenPage({Record("home", "h"), Record("default", "d")});
    for (const char* name : {"default", "DEFAULT"}) {
        h.boxes.shown.clear();
        Page().m_ProfileName = QString::fromLatin1(name);
        Page().OnRemoveProfile();
        ASSERT_EQ(1u, h.boxes.shown.size()) << name;
        EXPECT_EQ("You can not remove the 'default' profile.", h.boxes.shown[0].text);
    }
    EXPECT_EQ(0u, h.card.CountOf("DeleteProfileByType"));
}

// ---- Activate and the full apply -------------------------------------------------

TEST_F(ConfigPageTest, PickedProfileIsAppliedWholeOnlyOnceRegIsCompleteAndStored) {
    WirelessReg work = Record("work", "work-net", 6, 1, 0);
    OpenPage({Record("home", "home-net"), work});
    ChooseText(P::IDC_PROFILE, "work");
    TypeSsid("page-net");

    // What the polling thread would find at each call the page makes.
    struct Seen {
        std::string call;
        bool threadHeld;
        int fullApplyRequested;
        std::string regSsid;
    };
    std::vector<Seen> seen;
    h.card.OnCall([&](std::string_view name) {
        seen.push_back({std::string(name), !h.sheet->state.background.IsSet(),
                        gApplyConfigRequest.load(), FIELD(h.sheet->state.reg.Get().ssid)});
    });
    Click(P::IDC_ACTIVATE);
    h.card.OnCall(nullptr);

    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ("GetProfileWireless", seen[0].call);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        SCOPED_TRACE(seen[i].call);
        EXPECT_TRUE(seen[i].threadHeld);
        EXPECT_EQ(0, seen[i].fullApplyRequested);
        EXPECT_EQ("page-net", seen[i].regSsid);
    }

    // The thread's next cycle applies the whole record, once.
    gDevicePresent = 1;
    FakeHostUi ui;
    CPollingThread thread(h.card, h.sheet->state, ui, h.clock);
    h.card.ClearCalls();
    thread.RunCycle();
    thread.RunCycle();
    ASSERT_EQ(1u, h.card.CountOf("SetWLDomain"));
    const CardCall set = *h.card.LastCall("SetWLANConfig");
    EXPECT_EQ("page-net",
              std::string(reinterpret_cast<const char*>(set.host->ssid), set.host->ssidLength));
    EXPECT_EQ(0u, h.card.CountOf("SetDriverReg"));
}

TEST_F(ConfigPageTest, ApplyingAPickedProfileAfterUndoRequestsNoFullApply) {
    OpenPage({Record("home", "h"), Record("work", "w")});
    ChooseText(P::IDC_PROFILE, "work");
    TypeSsid("x");
    Click(P::IDC_UNDO_CHANGES);
    TypeSsid("y");
    Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(0, gApplyConfigRequest);
    EXPECT_TRUE(h.clock.Waits().empty());
    EXPECT_EQ("work", h.card.ActiveProfile().value_or(""));
}

} // namespace
} // namespace configpage
