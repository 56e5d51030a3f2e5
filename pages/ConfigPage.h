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
#include "pages/PropertyPage.h"
#include "res/ControlIds.h"

#include <QString>

#include <array>
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
    // Replaces a channel the mask does not allow with the lowest allowed
    // channel; with no channel allowed the channel stays as it is.
    void FixChannel(std::uint32_t& channel) const;

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

    // ---- Page state ------------------------------------------------------
    // The lists have been filled for the current page window. Public: the
    // main frame clears it once the sheet has closed.
    int m_ListsFilled = 0;
    // A stored profile was picked in the profile box since the last apply;
    // the next apply also requests the full configuration apply.
    int m_ProfileSelected = 0;
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
    QString m_ProfileName;
    // List index of channel n at n-1 (-1 when not allowed), channel of list
    // index i at i; m_ChannelCount entries are valid.
    std::array<int, 14> m_ChannelToIndex{};
    std::array<int, 14> m_IndexToChannel{};
    int m_ChannelCount = 0;
    std::uint16_t m_ChannelMask = 0;
    // The undo snapshot: the values last loaded from `reg` or applied. The
    // list indices keep -1 for "nothing selected".
    QString m_SavedSSID;
    int m_SavedChannelIndex = -1;
    int m_SavedMode = -1;
    int m_SavedPowerSave = -1;

private:
    // Controls to members (save) or members to controls; writing raises
    // no change handler. False when saving finds no page window.
    bool DoDataExchange(bool save);
    void ConnectHandlers();
    void FillLists();
    void FillProfileList();
    // The record the page shows: the picked profile's, else `reg`.
    WirelessReg ShownRecord();
    bool CommitOnOk();

    bool ChannelAllowed(std::uint32_t channel) const;
    int ChannelToIndex(std::uint32_t channel) const;
    std::optional<std::uint32_t> IndexToChannel(int index) const;
    // Channel list on and power saving off in ad hoc mode; the opposite
    // otherwise.
    void EnableListsForMode(bool adHoc);
    void EnableItem(int id, bool enable);
    bool ItemEnabled(int id) const;
    void SelectListIndex(int id, int index);
    int SelectedListIndex(int id) const;

    // Writes the page's mode, channel, SSID, rate, power saving and name
    // into `record`; a list with nothing selected leaves its field alone.
    void WritePageValues(WirelessReg& record, const QString& name) const;
    // The name an apply stores under: the box's text, or, when that is
    // empty, the profile whose record `reg` holds.
    QString NameForApply();

    // The profile box.
    QComboBox* ProfileBox() const;
    int FindProfile(const QString& name) const;
    int AddProfileSorted(const QString& name);
    // The list entry of the profile whose record the page shows.
    QString ProfileNameOfReg();
    // Reads the stored profile `name`, named as listed; nothing when the
    // store cannot give it.
    std::optional<WirelessReg> ReadProfile(const QString& name);
    void EnableRemoveFor(const QString& name);

    // The enumeration of the store reached its end: only then does an
    // empty list mean an empty store.
    bool m_StoreListed = false;
    // The accepted part of a refused SSID and the tick of the last notice
    // (none yet: the first notice is always shown).
    QString m_SsidAccepted;
    std::optional<std::uint32_t> m_LastNoticeTick;
};
