// A profile picked in the profile box and never activated: whatever closes
// the sheet (Cancel stores nothing) or applies on another page, it reaches
// neither the card nor the active profile's store, and the next opening
// shows the active profile.
#include "PageHarness.h"

namespace {

using P = CConfigPage;

TEST_F(ConfigPageTest, APickNeverReachesTheCardOrTheActiveProfile) {
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
        PageHarness h;
        h.Store({Record("home", "home-net", 6, 1), Record("work", "work-net", 4, 0)});
        h.OpenOn(kConfigTab);
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
        // under its own name, and its OK stores the active profile's values.
        if (h.sheet->isVisible()) {
            h.Cancel();
        }
        h.OpenOn(kConfigTab);
        EXPECT_EQ((QStringList{"home", "work"}), h.Entries(P::IDC_PROFILE));
        EXPECT_EQ(11, h.Entries(P::IDC_CHANNEL).size());
        EXPECT_EQ("home", h.Text(P::IDC_PROFILE));
        EXPECT_EQ("home-net", h.Text(P::IDC_SSID));
        h.ChooseText(P::IDC_POWER_SAVE, "Enabled");
        h.Ok();
        EXPECT_EQ("home-net", FieldText(h.card.Profile("home")->ssid));
        EXPECT_EQ(1u, h.card.Profile("home")->powerSaveMode);
    }
}

} // namespace
