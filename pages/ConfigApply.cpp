// The Configuration page's applies: Apply Changes and the sheet's OK,
// Apply and Cancel.
#include "pages/ConfigPage.h"

#include "device/AccessHandshake.h"
#include "device/CardLibrary.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "pages/ConfigProfileNames.h"

#include <QComboBox>
#include <QPushButton>

#include <optional>
#include <string_view>

namespace {

// The page has no rate control: it always stores the automatic rate.
constexpr std::uint32_t kAutoRate = 15;

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

QString CConfigPage::NameForApply() {
    return !m_ProfileName.isEmpty() ? m_ProfileName : ProfileNameOfReg();
}

void CConfigPage::WritePageValues(WirelessReg& record, const QString& name) const {
    SetFieldText(record.profileName, View(ProfileNameFieldBytes(name)));
    const int mode = SelectedListIndex(IDC_MODE);
    if (mode >= 0) {
        record.opMode = static_cast<std::uint32_t>(mode);
    }
    if (const std::optional<std::uint32_t> channel = IndexToChannel(m_ChannelIndex)) {
        record.channel = *channel;
    }
    SetFieldText(record.ssid, View(SsidFieldBytes(m_SSID)));
    record.txRate = kAutoRate;
    const int powerSave = SelectedListIndex(IDC_POWER_SAVE);
    if (powerSave >= 0) {
        record.powerSaveMode = static_cast<std::uint32_t>(powerSave);
    }
}

void CConfigPage::ApplyChanges() {
    if (!DoDataExchange(true)) {
        return;
    }
    if (m_ProfileName.isEmpty()) {
        m_ProfileName = NameForApply();
    }
    CardLibrary& library = Context().library;

    // The record starts as the one the page shows; a profile already in
    // the store gives every field this page does not show. A name found in
    // another letter case is the listed profile, under its listed spelling.
    WirelessReg record = ShownRecord();
    bool fullApply = false;
    const int entry = FindProfile(m_ProfileName);
    if (entry < 0) {
        AddProfileSorted(m_ProfileName);
    } else {
        m_ProfileName = ProfileBox()->itemText(entry);
        WirelessReg stored = record;
        if (library.GetProfileWireless(m_ProfileName.toUtf8().constData(), &stored) == 0) {
            record = stored;
        }
        fullApply = m_ProfileSelected != 0;
        m_ProfileSelected = 0;
    }

    // A profile picked in the list reaches the card with a full apply. The
    // thread is held from here until `reg` holds the whole new record and
    // the profile is stored; only then is the request raised, so the
    // thread never applies the stored values mixed with the page's.
    std::optional<CAccessHandshake> handshake;
    if (fullApply) {
        handshake.emplace(Context().state, Context().clock);
    }

    const QByteArray name = m_ProfileName.toUtf8();
    WritePageValues(record, m_ProfileName);
    m_SavedMode = SelectedListIndex(IDC_MODE);
    m_SavedChannelIndex = m_ChannelIndex;
    // What the record holds: the SSID up to a refused character.
    m_SSID = QString::fromLatin1(SsidFieldBytes(m_SSID));
    m_SavedSSID = m_SSID;
    m_PowerSaveIndex = SelectedListIndex(IDC_POWER_SAVE);
    m_SavedPowerSave = m_PowerSaveIndex;
    Context().state.reg.Set(record);
    m_PickedReg.reset();

    library.SetProfileWireless(name.constData(), &record);
    library.SetActiveProfileByType(name.constData(), TAVL_PROFILE_TYPE);
    // A new profile is only stored, and a request another apply raised
    // stays; otherwise the thread brings mode, SSID, channel and power
    // saving to the card on its next cycle (within the full apply when one
    // is requested too).
    if (m_CreatingProfile == 0) {
        gChangeParametersRequest = 1;
    }
    if (fullApply) {
        gApplyConfigRequest = 1;
    }
    handshake.reset();

    EnableItem(IDC_UNDO_CHANGES, false);
    EnableItem(IDC_APPLY_CHANGES, false);
    EnableItem(IDC_ACTIVATE, false);
    EnableItem(IDC_CREATE, false);
    if (m_CreatingProfile != 0) {
        m_CreatingProfile = 0;
        EnableItem(IDC_ACTIVATE, true);
        EnableItem(IDC_REMOVE, true);
    }
    DoDataExchange(false);
}

bool CConfigPage::CommitOnOk() {
    gSheetOpen = 0;
    if (!ItemEnabled(IDC_APPLY_CHANGES)) {
        return true;
    }
    if (!DoDataExchange(true)) {
        return false;
    }
    const QString name = NameForApply();
    m_ProfileName = name;
    // A profile picked in the list and stored under its own name becomes
    // the active one here, and reaches the card whole, as Activate would
    // bring it.
    std::optional<CAccessHandshake> handshake;
    const QByteArray nameField = ProfileNameFieldBytes(name);
    if (m_ProfileSelected != 0 && m_PickedReg &&
        View(nameField) == FieldText(m_PickedReg->profileName)) {
        handshake.emplace(Context().state, Context().clock);
    }
    WirelessReg record = ShownRecord();
    WritePageValues(record, name);
    m_SSID = QString::fromLatin1(SsidFieldBytes(m_SSID));
    Context().state.reg.Set(record);
    m_PickedReg.reset();

    // A null name stores into the active profile, which the first call
    // has just named.
    const QByteArray bytes = name.toUtf8();
    CardLibrary& library = Context().library;
    library.SetActiveProfileByType(bytes.constData(), TAVL_PROFILE_TYPE);
    library.SetProfileWireless(nullptr, &record);
    DoDataExchange(false);
    gChangeParametersRequest = 1;
    if (handshake) {
        gApplyConfigRequest = 1;
        m_ProfileSelected = 0;
    }
    return true;
}

void CConfigPage::OnOK() {
    CommitOnOk();
}

bool CConfigPage::OnApply() {
    // The page window goes with the sheet: the lists are filled again at
    // the next opening.
    gSheetOpen = 0;
    m_ListsFilled = 0;
    return CommitOnOk();
}

void CConfigPage::OnCancel() {
    gSheetOpen = 0;
    m_ListsFilled = 0;
}
