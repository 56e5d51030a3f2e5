// CConfigPage: the "Configuration" page.
//
// It edits the basic wireless settings of the sheet's `reg` (operating
// mode, SSID, channel, power saving) and the profiles they are stored
// under (the profile box with Create, Remove and Activate). Edits stay in
// the controls until Apply Changes or the sheet's OK: only then are they
// written into `reg`, stored as the profile and handed to the polling
// thread through the request flags.
#pragma once

#include "device/tavl.h"
#include "pages/ConfigApply.h"
#include "pages/ConfigChannels.h"
#include "pages/PropertyPage.h"
#include "res/ControlIds.h"

#include <QString>

#include <cstdint>
#include <optional>

class QComboBox;

// The name of the protected default profile, "default" from the string
// table, loaded when the page object is constructed.
extern QString g_DefaultProfileName;

class CConfigPage : public CPropertyPage {
    Q_OBJECT
public:
    // Control identifiers of the "Configuration" template.
    using enum ConfigurationControls::Id;
    static constexpr int kHelpContext = HELP_CONFIGURATION;
    // Least interval between two SSID notices.
    static constexpr std::uint32_t kSsidNoticeIntervalMs = 1000;

    explicit CConfigPage(const PageContext& context);

    // Reads the allowed channels and writes the members into the controls.
    bool OnInitDialog() override;
    // Fills the lists on the first activation of the window, loads the
    // controls from `reg`, and creates "default" when the store is empty.
    bool OnSetActive() override;
    // The sheet's OK: stores and applies pending edits (see CommitOnOk).
    void OnOK() override;
    // The sheet's OK reaching this page: false when the edits cannot be
    // read back from the controls, which keeps the sheet open.
    bool OnApply() override;
    void OnCancel() override;
    void OnCommandHelp(int context) override;

    // Apply Changes: writes the page's values into `reg`, stores them as
    // the profile named in the profile box, makes it active and asks the
    // polling thread to bring them to the card.
    void ApplyChanges();
    // Shows `reg` in the controls and takes the undo snapshot.
    void LoadControlsFromReg();

    // Handlers, by control. Each runs only for the user's own actions.
    void OnModeSelChange();
    void OnChannelSelChange();
    void OnPowerSaveSelChange();
    void OnSsidChange();
    // The SSID notice, a queued call after a refused character.
    void OnSsidNotice();
    void OnUndoChanges();
    void OnRestoreDefaults();
    void OnProfileSelChange(int index);
    void OnProfileEditChange();
    void OnCreateProfile();
    void OnRemoveProfile();
    void OnActivateProfile();

    // The lists have been filled for the current page window. Public: the
    // main frame clears it once the sheet has closed.
    int m_ListsFilled = 0;
    // A stored profile was picked in the profile box since the last apply;
    // the next apply also requests the full configuration apply.
    int m_ProfileSelected = 0;
    // The profile last selected, created or applied.
    QString m_ProfileName;

private:
    // The next apply creates a new profile and asks nothing of the thread.
    int m_CreatingProfile = 0;
    // The record of the profile picked in the list, shown by this page
    // until an apply activates it. `reg` keeps the active profile's record
    // meanwhile, so a pick that is never activated reaches neither the
    // card nor the active profile's store; it ends with the page window.
    std::optional<WirelessReg> m_PickedReg;
    QString m_SSID;
    int m_ChannelIndex = -1;
    int m_PowerSaveIndex = -1;
    // The channels the mask allows, and those the channel list holds (none
    // until the lists are filled).
    CChannelList m_AllowedChannels;
    CChannelList m_ListedChannels;
    // The undo snapshot: the values last loaded from `reg` or applied. The
    // list indices keep -1 for "nothing selected".
    QString m_SavedSSID;
    int m_SavedChannelIndex = -1;
    int m_SavedMode = -1;
    int m_SavedPowerSave = -1;

    // ---- ConfigPage.cpp: lifecycle, the settings' controls, the applies ----
    // Controls to members (save) or members to controls; writing raises
    // no change handler. False when saving finds no page window.
    bool DoDataExchange(bool save);
    void ConnectHandlers();
    void FillLists();
    // The record the page shows: the picked profile's, else `reg`.
    WirelessReg ShownRecord();
    bool CommitOnOk();
    // Channel list on and power saving off in ad hoc mode; the opposite
    // otherwise.
    void EnableListsForMode(bool adHoc);
    void EnableItem(int id, bool enable);
    bool ItemEnabled(int id) const;
    void SelectListIndex(int id, int index);
    int SelectedListIndex(int id) const;

    // What the controls hold: mode, channel, SSID and power saving.
    ConfigValues PageValues() const;
    // The name an apply stores under: the box's text, or, when that is
    // empty, the profile whose record `reg` holds.
    QString NameForApply();

    // ---- ConfigProfileBox.cpp: the profile box ----
    void FillProfileList();
    QComboBox* ProfileBox() const;
    int FindProfile(const QString& name) const;
    int AddProfileSorted(const QString& name);
    // The list entry of the profile whose record the page shows.
    QString ProfileNameOfReg();
    void EnableRemoveFor(const QString& name);

    // The enumeration of the store reached its end: only then does an
    // empty list mean an empty store.
    bool m_StoreListed = false;
    // The accepted part of a refused SSID and the tick of the last notice
    // (none yet: the first notice is always shown).
    QString m_SsidAccepted;
    std::optional<std::uint32_t> m_LastNoticeTick;
};
