// The Configuration page's profile box: listing, selecting, typing, Create,
// Remove and Activate, the full apply a picked profile requests, and a pick
// that is never activated.
#include "PageHarness.h"

namespace {

using P = CConfigPage;

TEST(ConfigPage, EmptyStoreCreatesDefaultFromRegWithoutAskingTheThread) {
    PageHarness h;
    // A change request another apply raised stays for the thread.
    gChangeParametersRequest = 1;
    h.OpenOn(kConfigTab);
    EXPECT_EQ((QStringList{"default"}), h.Entries(P::IDC_PROFILE));
    EXPECT_EQ("default", h.card.ActiveProfile());
    EXPECT_EQ(0u, h.card.CountOf("GetProfileWireless"));
    EXPECT_EQ("any", FieldText(h.card.Profile("default").value().ssid));
    EXPECT_EQ(1, gChangeParametersRequest);
    EXPECT_EQ(0, gApplyConfigRequest);
}

// Only a store that says it has no more profiles is empty: a failing
// enumeration creates no "default" over the stored one.
TEST(ConfigPage, AFailingEnumerationIsNoEmptyStore) {
    PageHarness h;
    h.card.FailEverything(true);
    h.OpenOn(kConfigTab);
    EXPECT_TRUE(h.Entries(P::IDC_PROFILE).isEmpty());
    EXPECT_LE(h.card.CountOf("EnumProfilesByType"), 1u);
    EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
    EXPECT_EQ(0u, h.card.CountOf("SetActiveProfileByType"));
}

// ---- The button states --------------------------------------------------------

// What the user does after the opening, step by step.
using Step = void (*)(PageHarness&);
const Step PickWork = [](PageHarness& h) { h.ChooseText(P::IDC_PROFILE, "work"); };
const Step TypeLab = [](PageHarness& h) { h.Replace(P::IDC_PROFILE, "lab"); };
const Step kPickDefault = [](PageHarness& h) { h.ChooseText(P::IDC_PROFILE, "default"); };
const Step kTypeWork = [](PageHarness& h) { h.Replace(P::IDC_PROFILE, "WORK"); };
const Step kTypeDefault = [](PageHarness& h) { h.Replace(P::IDC_PROFILE, "DEFAULT"); };
const Step kEmptyTheBox = [](PageHarness& h) { h.Replace(P::IDC_PROFILE, ""); };
const Step kTypeSsid = [](PageHarness& h) { h.Replace(P::IDC_SSID, "x"); };
// A refused creation: the name is taken, in other capitals.
const Step kCreateWork = [](PageHarness& h) {
    h.Edit(P::IDC_PROFILE)->setText("Work");
    h.sheet->m_ConfigPage.OnCreateProfile();
};
template <int id> void Press(PageHarness& h) {
    h.Click(id);
}

TEST(ConfigPage, ButtonsFollowTheTable) {
    const struct {
        const char* name;
        const char* active; // the active profile at the opening; "" for an empty store
        std::vector<Step> steps;
        const char* enabled; // Create, Activate, Remove: "CAR" all enabled
    } rows[] = {
        {"ActivatedOnDefault", "default", {}, "---"},
        {"ActivatedOnAnother", "home", {}, "--R"},
        {"ActivatedAfterDefaultWasCreated", "", {}, "-A-"},
        {"EntrySelected", "home", {PickWork}, "-AR"},
        {"DefaultSelected", "home", {kPickDefault}, "-A-"},
        {"TypedNameFound", "home", {kTypeWork}, "-AR"},
        {"TypedDefaultInCapitals", "home", {kTypeDefault}, "-A-"},
        {"TypedNameNotFound", "home", {TypeLab}, "C--"},
        {"BoxEmptied", "home", {kEmptyTheBox}, "---"},
        {"AfterCreate", "default", {TypeLab, Press<P::IDC_CREATE>}, "-AR"},
        {"AfterCreateRefused", "default", {kCreateWork}, "--R"},
        {"AfterApplyChanges", "home", {kTypeSsid, Press<P::IDC_APPLY_CHANGES>}, "--R"},
        {"AfterApplyChangesOnAPick",
         "home",
         {PickWork, kTypeSsid, Press<P::IDC_APPLY_CHANGES>},
         "--R"},
        {"AfterActivate", "home", {PickWork, Press<P::IDC_ACTIVATE>}, "--R"},
        {"AfterUndoChanges", "home", {kTypeSsid, TypeLab, Press<P::IDC_UNDO_CHANGES>}, "---"},
        {"AfterRestoreDefaults", "home", {PickWork, Press<P::IDC_RESTORE_DEFAULTS>}, "--R"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PageHarness h;
        const WirelessReg home = Record("home", "h"), work = Record("work", "w");
        const WirelessReg def = Record("default", "d");
        if (std::string(row.active) == "home") {
            h.Store({home, def, work});
        } else if (std::string(row.active) == "default") {
            h.Store({def, home, work});
        }
        h.OpenOn(kConfigTab);
        for (Step step : row.steps) {
            step(h);
        }
        std::string enabled;
        for (const auto& [id, mark] :
             {std::pair{P::IDC_CREATE, 'C'}, {P::IDC_ACTIVATE, 'A'}, {P::IDC_REMOVE, 'R'}}) {
            enabled += h.Enabled(id) ? mark : '-';
        }
        EXPECT_EQ(row.enabled, enabled);
    }
}

// ---- Selecting and typing ------------------------------------------------------

TEST(ConfigPage, TypedNameIsCutAt64CharactersWithTheCaretAtTheEnd) {
    PageHarness h(kConfigTab, {Record("home", "h")});
    h.Replace(P::IDC_PROFILE, QString(65, QChar('b')));
    h.Drain();
    EXPECT_EQ(QString(64, QChar('b')), h.Text(P::IDC_PROFILE));
    EXPECT_EQ(64, h.Edit(P::IDC_PROFILE)->cursorPosition());

    // Characters, not UTF-16 units, count: a character outside the basic
    // plane is kept whole or cut whole.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const std::pair<QString, QString> pastes[] = {
        {QString(63, 'c') + emoji, QString(63, 'c') + emoji},
        {QString(64, 'd') + emoji, QString(64, 'd')},
    };
    for (const auto& [pasted, kept] : pastes) {
        h.Edit(P::IDC_PROFILE)->selectAll();
        h.Edit(P::IDC_PROFILE)->insert(pasted);
        EXPECT_EQ(kept, h.Text(P::IDC_PROFILE));
    }
}

TEST(ConfigPage, TypedNewNameSurvivesOtherEditsEvenAsThePrefixOfAnEntry) {
    PageHarness h(kConfigTab, {Record("home", "h")});
    h.Replace(P::IDC_PROFILE, "ho");
    h.Replace(P::IDC_SSID, "net");
    h.ChooseText(P::IDC_POWER_SAVE, "Enabled");
    EXPECT_EQ("ho", h.Text(P::IDC_PROFILE));
    h.Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ("net", FieldText(h.card.Profile("ho")->ssid));
    EXPECT_EQ("h", FieldText(h.card.Profile("home")->ssid));
}

// ---- Create -------------------------------------------------------------------

// Create refuses a name taken in other capitals, with a message, and does
// nothing for an empty name; neither leaves anything pending: the next
// apply brings the page's values to the profile the box names, or for an
// empty box to the one in `reg`.
TEST(ConfigPage, ARefusedCreateStoresNothingAndLeavesTheNextApplyWhole) {
    const struct {
        const char* typed;
        std::vector<QString> messages;
        const char* applied;
    } rows[] = {
        {"wORK", {"The profile is already exist. Please use a different name."}, "Work"},
        {"", {}, "home"},
    };
    for (const auto& row : rows) {
        PageHarness h(kConfigTab, {Record("home", "h"), Record("Work", "w")});
        h.Edit(P::IDC_PROFILE)->setText(row.typed);
        h.sheet->m_ConfigPage.OnCreateProfile();
        EXPECT_EQ(row.messages, h.boxes.Texts());
        EXPECT_EQ(0u, h.card.CountOf("SetProfileWireless"));
        h.Replace(P::IDC_SSID, "net");
        h.Click(P::IDC_APPLY_CHANGES);
        EXPECT_EQ("net", FieldText(h.card.Profile(row.applied)->ssid)) << row.typed;
        EXPECT_EQ(1, gChangeParametersRequest);
    }
}

// Create stores the page under the new name with reg's other fields and
// makes it active. Names reach the store exactly as typed, the store alone
// decides where they are kept; the record's name field holds whole
// characters, and Undo finds the listed profile behind a cut name.
TEST(ConfigPage, CreateStoresThePageUnderTheNameAsTypedCutInTheRecordAtACharacter) {
    WirelessReg def = Record("default", "d");
    def.encryptionLevel = 1;
    PageHarness h(kConfigTab, {def});
    const QString e = QString::fromUtf8("\xC3\xA9");         // 2 bytes
    const QString kanji = QString::fromUtf8("\xE5\x90\x8D"); // 3 bytes
    const std::pair<QString, QString> rows[] = {
        {"../../etc/passwd", "../../etc/passwd"},
        {"..", ".."},
        {" lead", " lead"},
        {kanji + kanji, kanji + kanji},
        {e.repeated(64), e.repeated(32)},
        {"a" + e.repeated(40), "a" + e.repeated(31)},
        {kanji.repeated(22), kanji.repeated(21)},
    };
    for (const auto& [name, field] : rows) {
        SCOPED_TRACE(name.toStdString());
        h.Replace(P::IDC_SSID, "lab-net");
        h.Replace(P::IDC_PROFILE, name);
        h.card.ClearCalls();
        h.Click(P::IDC_CREATE);
        EXPECT_EQ((std::vector<std::string>{"SetProfileWireless", "SetActiveProfileByType"}),
                  h.card.CallNames());
        const CardCall set = *h.card.LastCall("SetProfileWireless");
        EXPECT_EQ(name.toStdString(), set.textArg);
        EXPECT_EQ("lab-net", FieldText(set.reg->ssid));
        EXPECT_EQ(1u, set.reg->encryptionLevel);
        EXPECT_EQ(name.toStdString(), h.card.ActiveProfile());
        EXPECT_EQ(field.toStdString(), FieldText(h.Reg().profileName));
        h.Replace(P::IDC_SSID, "x");
        h.Click(P::IDC_UNDO_CHANGES);
        EXPECT_EQ(name, h.Text(P::IDC_PROFILE));
    }
}

// ---- Remove --------------------------------------------------------------------

TEST(ConfigPage, RemovingTheActiveProfileMakesDefaultActiveAndLoadsIt) {
    PageHarness h(kConfigTab, {Record("home", "home-net"), Record("default", "default-net", 3, 0)});
    h.card.ClearCalls();
    // Answered No, the question leaves the store alone.
    h.boxes.answers.push_back(IDNO);
    h.Click(P::IDC_REMOVE);
    EXPECT_TRUE(h.card.CallNames().empty());
    h.Click(P::IDC_REMOVE);
    EXPECT_EQ((std::vector<QString>(2, "Do you want to remove profile: home?")), h.boxes.Texts());
    EXPECT_EQ((std::vector<std::string>{"DeleteProfileByType", "SetActiveProfileByType",
                                        "GetProfileWireless"}),
              h.card.CallNames());
    EXPECT_FALSE(h.card.Profile("home"));
    EXPECT_EQ("default", h.card.ActiveProfile());
    EXPECT_EQ("default-net", h.Text(P::IDC_SSID));
    EXPECT_EQ(0, gApplyConfigRequest);

    // The card keeps its settings until Activate brings "default" to it.
    h.Click(P::IDC_ACTIVATE);
    EXPECT_EQ(1, gApplyConfigRequest);
}

// The box lists the stored profiles sorted and names the active one;
// "default" cannot be removed under any spelling.
TEST(ConfigPage, ListsStoredProfilesSortedAndKeepsDefault) {
    // With "default" first in the list the refusal holds at index 0 too.
    PageHarness h(kConfigTab, {Record("work", "w"), Record("Home", "h"), Record("default", "d"),
                               Record("eve", "e")});
    EXPECT_EQ((QStringList{"default", "eve", "Home", "work"}), h.Entries(P::IDC_PROFILE));
    EXPECT_EQ("work", h.Text(P::IDC_PROFILE));
    for (const char* name : {"default", "DEFAULT"}) {
        h.sheet->m_ConfigPage.m_ProfileName = QString::fromLatin1(name);
        h.sheet->m_ConfigPage.OnRemoveProfile();
    }
    EXPECT_EQ(std::vector<QString>(2, "You can not remove the 'default' profile."),
              h.boxes.Texts());
    EXPECT_EQ(0u, h.card.CountOf("DeleteProfileByType"));
}

// ---- Activate and the full apply -------------------------------------------------

// Activate, or OK with edits pending, applies a picked profile whole: it is
// stored with the page's values and made active, and only then, `reg`
// complete, the full apply is asked of the polling thread, which the page
// held off meanwhile.
TEST(ConfigPage, APickIsActivatedWholeByActivateOrOkWithEdits) {
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "OK" : "Activate");
        PageHarness h(kConfigTab,
                      {Record("home", "home-net"), Record("work", "work-net", 6, 1, 0)});
        PickWork(h);
        h.Replace(P::IDC_SSID, "page-net");
        std::vector<std::string> seen;
        h.card.OnCall([&](std::string_view name) {
            seen.push_back(std::string(name) + (h.sheet->state.background.IsSet() ? " free" : "") +
                           (gApplyConfigRequest != 0 ? " apply " : " ") +
                           std::string(FieldText(h.sheet->state.reg.Get().ssid)));
        });
        if (ok) {
            h.Ok();
        } else {
            h.Click(P::IDC_ACTIVATE);
        }
        h.card.OnCall(nullptr);
        const std::vector<std::string> activate = {"GetProfileWireless free home-net",
                                                   "SetProfileWireless page-net",
                                                   "SetActiveProfileByType page-net"};
        EXPECT_EQ((ok ? std::vector<std::string>{activate[2], activate[1]} : activate), seen);
        EXPECT_EQ(1, gApplyConfigRequest);
        EXPECT_EQ("work", h.card.ActiveProfile());
        EXPECT_EQ("page-net", FieldText(h.card.Profile("work")->ssid));
        EXPECT_TRUE(h.sheet->state.background.IsSet());
    }
}

// A picked profile shows with only a read of the card; Undo keeps it on the
// page and in the box, and applying it then asks for no full apply.
TEST(ConfigPage, APickShowsItselfUndoKeepsItAndItsApplyAsksNoFullApply) {
    PageHarness h(kConfigTab, {Record("home", "h"), Record("work", "work-net")});
    h.card.ClearCalls();
    PickWork(h);
    EXPECT_EQ((std::vector<std::string>{"GetProfileWireless"}), h.card.CallNames());
    EXPECT_EQ("work-net", h.Text(P::IDC_SSID));
    h.Replace(P::IDC_SSID, "x");
    h.Click(P::IDC_UNDO_CHANGES);
    EXPECT_EQ("work", h.Text(P::IDC_PROFILE));
    EXPECT_EQ("work-net", h.Text(P::IDC_SSID));
    h.Replace(P::IDC_SSID, "y");
    h.Click(P::IDC_APPLY_CHANGES);
    EXPECT_EQ(0, gApplyConfigRequest);
    EXPECT_TRUE(h.clock.Waits().empty());
    EXPECT_EQ("work", h.card.ActiveProfile());
}

// A profile picked in the profile box and never activated: whatever closes
// the sheet (Cancel stores nothing) or applies on another page, it reaches
// neither the card nor the active profile's store, and the next opening
// shows the active profile.
TEST(ConfigPage, APickNeverReachesTheCardOrTheActiveProfile) {
    const struct {
        const char* name;
        void (*then)(PageHarness&);
    } rows[] = {
        {"CancelWithAnEdit",
         [](PageHarness& h) {
             h.Replace(P::IDC_SSID, "cancelled");
             h.Cancel();
         }},
        {"OkWithNothingPending",
         [](PageHarness& h) {
             h.Ok();
             h.sheet->AfterClose();
         }},
        {"ClosedFromOutside",
         [](PageHarness& h) {
             h.sheet->CloseSheet();
             h.sheet->AfterClose();
         }},
        {"EncryptionApply",
         [](PageHarness& h) {
             h.SelectTab(kEncryptionTab);
             h.Choose(CEncryptionPage::kLevelList, 0);
             h.sheet->m_EncryptionPage.ApplyChanges();
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PageHarness h(kConfigTab,
                      {Record("home", "home-net", 6, 1), Record("work", "work-net", 4, 0)});
        h.ChooseText(P::IDC_PROFILE, "work");
        h.card.ClearCalls();
        row.then(h);

        EXPECT_EQ("home", h.card.ActiveProfile());
        EXPECT_EQ("home-net", FieldText(h.card.Profile("home")->ssid));
        EXPECT_EQ("work-net", FieldText(h.card.Profile("work")->ssid));
        EXPECT_EQ("home-net", FieldText(h.Reg().ssid));
        EXPECT_EQ(0, gChangeParametersRequest);
        EXPECT_EQ(0, gApplyConfigRequest);
        for (const CardCall& call : h.card.CallsNamed("SetSSID")) {
            EXPECT_NE("work-net", std::string(reinterpret_cast<const char*>(call.ssid->ssid),
                                              call.ssid->length));
        }

        // The next opening fills the lists again and shows the active profile
        // under its own name; its OK with an edit pending makes the active
        // profile active again, stores the page's values into it (under no
        // name: the active one) and asks the polling thread to apply them.
        if (h.sheet->isVisible()) {
            h.Cancel();
        }
        h.OpenOn(kConfigTab);
        EXPECT_EQ((QStringList{"home", "work"}), h.Entries(P::IDC_PROFILE));
        EXPECT_EQ(11, h.Entries(P::IDC_CHANNEL).size());
        EXPECT_EQ("home", h.Text(P::IDC_PROFILE));
        EXPECT_EQ("home-net", h.Text(P::IDC_SSID));
        h.ChooseText(P::IDC_POWER_SAVE, "Enabled");
        h.card.ClearCalls();
        h.Ok();
        EXPECT_EQ((std::vector<std::string>{"SetActiveProfileByType", "SetProfileWireless"}),
                  h.card.CallNames());
        EXPECT_TRUE(h.card.LastCall("SetProfileWireless")->nullText);
        EXPECT_EQ(1, gChangeParametersRequest);
        EXPECT_EQ(0, gSheetOpen);
        EXPECT_EQ("home-net", FieldText(h.card.Profile("home")->ssid));
        EXPECT_EQ(1u, h.card.Profile("home")->powerSaveMode);
    }
}

} // namespace
