// A profile picked in the profile box and never activated: whatever closes
// the sheet or applies on another page, it reaches neither the card nor the
// active profile's store, and the next opening shows the active profile.
#include "ConfigPageTestFixture.h"

#include "pages/EncryptionPage.h"
#include "res/ControlIds.h"

namespace configpage {
namespace {

using P = CConfigPage;

struct PickRow {
    const char* name;
    void (*then)(ConfigPageTest&);
};

void PrintTo(const PickRow& row, std::ostream* os) {
    *os << row.name;
}

class ConfigPagePick : public ConfigPageTest, public ::testing::WithParamInterface<PickRow> {};

TEST_P(ConfigPagePick, NeverReachesTheCardOrTheActiveProfile) {
    const WirelessReg home = Record("home", "home-net", 6, 1);
    OpenPage({home, Record("work", "work-net", 4, 0)});
    ChooseText(P::IDC_PROFILE, "work");
    h.card.ClearCalls();
    GetParam().then(*this);

    EXPECT_EQ("home", h.card.ActiveProfile().value_or(""));
    EXPECT_EQ("home-net", FIELD(h.card.Profile("home")->ssid));
    EXPECT_EQ("home-net", FIELD(Reg().ssid));
    EXPECT_EQ(0, gChangeParametersRequest);
    EXPECT_EQ(0, gApplyConfigRequest);
    for (const CardCall& call : h.card.CallsNamed("SetSSID")) {
        EXPECT_NE("work-net",
                  std::string(reinterpret_cast<const char*>(call.ssid->ssid), call.ssid->length));
    }

    // The next opening shows the active profile under its own name, and
    // its OK stores the active profile's values.
    if (h.sheet->isVisible()) {
        h.Cancel();
    }
    OpenPage();
    EXPECT_EQ("home", ProfileBox()->currentText());
    EXPECT_EQ("home-net", Ssid()->text());
    ChooseText(P::IDC_POWER_SAVE, "Enabled");
    h.sheet->findChild<QPushButton*>(QString::number(SheetControls::kOkButton))->click();
    EXPECT_EQ("home-net", FIELD(h.card.Profile("home")->ssid));
    EXPECT_EQ(1u, h.card.Profile("home")->powerSaveMode);
}

INSTANTIATE_TEST_SUITE_P(
    Closings, ConfigPagePick,
    ::testing::Values(PickRow{"Cancel", [](ConfigPageTest& t) { t.h.Cancel(); }},
                      PickRow{"OkWithNothingPending",
                              [](ConfigPageTest& t) {
                                  t.h.sheet
                                      ->findChild<QPushButton*>(
                                          QString::number(SheetControls::kOkButton))
                                      ->click();
                                  t.h.sheet->AfterClose();
                              }},
                      PickRow{"ClosedFromOutside",
                              [](ConfigPageTest& t) {
                                  t.h.sheet->CloseSheet();
                                  t.h.sheet->AfterClose();
                              }},
                      PickRow{"EncryptionApply",
                              [](ConfigPageTest& t) {
                                  t.h.SelectTab(3);
                                  CEncryptionPage& page = t.h.sheet->m_EncryptionPage;
                                  auto* level = page.findChild<QComboBox*>(
                                      QString::number(CEncryptionPage::kLevelList));
                                  level->setCurrentIndex(0);
                                  emit level->activated(0);
                                  page.ApplyChanges();
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

// OK with edits pending activates the pick: it is stored with the page's
// values, becomes active and reaches the card whole.
TEST_F(ConfigPageTest, OkWithEditsOnAPickActivatesItWhole) {
    WirelessReg work = Record("work", "work-net", 4, 0);
    work.encryptionLevel = 1;
    OpenPage({Record("home", "home-net"), work});
    ChooseText(P::IDC_PROFILE, "work");
    TypeSsid("page-net");
    h.sheet->findChild<QPushButton*>(QString::number(SheetControls::kOkButton))->click();
    EXPECT_EQ("work", h.card.ActiveProfile().value_or(""));
    EXPECT_EQ("page-net", FIELD(h.card.Profile("work")->ssid));
    EXPECT_EQ("page-net", FIELD(Reg().ssid));
    EXPECT_EQ(1, gApplyConfigRequest);
    EXPECT_TRUE(h.sheet->state.background.IsSet());
}

} // namespace
} // namespace configpage
