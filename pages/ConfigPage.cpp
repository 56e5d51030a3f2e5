// The Configuration page: its lifecycle, the controls of the settings and
// their handlers, and its applies (Apply Changes, the sheet's OK and Cancel).
#include "pages/ConfigPage.h"

#include "device/CardLibrary.h"
#include "device/Clock.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "device/SheetState.h"
#include "pages/ConfigProfileNames.h"
#include "pages/ConfigProfileStore.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"
#include "res/Templates.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QSignalBlocker>

#include <string_view>

QString g_DefaultProfileName;

namespace {

constexpr int kModeAdHoc = 0;
constexpr int kModeInfrastructure = 1;
constexpr int kPowerSaveDisabled = 0;
constexpr std::uint32_t kFactoryChannel = 6;
constexpr const char* kFactorySsid = "any";

QString Text(int id) {
    return QString::fromUtf8(ResString(id));
}

} // namespace

CConfigPage::CConfigPage(const PageContext& context)
    : CPropertyPage(kConfigurationTemplate, context) {
    g_DefaultProfileName = Text(IDS_DEFAULT_PROFILE);
}

bool CConfigPage::OnInitDialog() {
    // The allowed channels: the settings file's override, else the card's
    // own mask. A failed read leaves the zeroed record, so no channel.
    HostInfo host{};
    std::uint32_t mask = TAVL_MASK_CHANNEL_MASK;
    Context().library.GetWLANConfig(&mask, &host);
    const std::uint16_t iniMask = gIniChannelMask;
    m_AllowedChannels = CChannelList(iniMask != 0 ? iniMask : host.channelMask);

    // A new window has empty lists, whatever closed the last one, and
    // nothing picked, created or selected in the last one is pending.
    m_ListsFilled = 0;
    m_PickedReg.reset();
    m_ProfileSelected = 0;
    m_CreatingProfile = 0;
    if (auto* ssid = Item<QLineEdit>(IDC_SSID)) {
        ssid->setMaxLength(kSsidMaxChars);
    }
    if (QComboBox* box = ProfileBox()) {
        // The page finds typed names itself; no completion of its own.
        box->setCompleter(nullptr);
    }
    ConnectHandlers();
    DoDataExchange(false);
    return true;
}

void CConfigPage::ConnectHandlers() {
    auto button = [this](int id, void (CConfigPage::*handler)()) {
        if (auto* item = Item<QPushButton>(id)) {
            connect(item, &QPushButton::clicked, this, handler);
        }
    };
    auto list = [this](int id, void (CConfigPage::*handler)()) {
        if (auto* item = Item<QComboBox>(id)) {
            connect(item, &QComboBox::activated, this, handler);
        }
    };
    list(IDC_MODE, &CConfigPage::OnModeSelChange);
    list(IDC_CHANNEL, &CConfigPage::OnChannelSelChange);
    list(IDC_POWER_SAVE, &CConfigPage::OnPowerSaveSelChange);
    if (auto* ssid = Item<QLineEdit>(IDC_SSID)) {
        connect(ssid, &QLineEdit::textChanged, this, &CConfigPage::OnSsidChange);
    }
    button(IDC_UNDO_CHANGES, &CConfigPage::OnUndoChanges);
    button(IDC_RESTORE_DEFAULTS, &CConfigPage::OnRestoreDefaults);
    button(IDC_APPLY_CHANGES, &CConfigPage::ApplyChanges);
    button(IDC_CREATE, &CConfigPage::OnCreateProfile);
    button(IDC_REMOVE, &CConfigPage::OnRemoveProfile);
    button(IDC_ACTIVATE, &CConfigPage::OnActivateProfile);
    if (QComboBox* box = ProfileBox()) {
        connect(box, &QComboBox::activated, this, &CConfigPage::OnProfileSelChange);
        if (QLineEdit* edit = box->lineEdit()) {
            connect(edit, &QLineEdit::textEdited, this, &CConfigPage::OnProfileEditChange);
        }
    }
}

bool CConfigPage::OnSetActive() {
    if (!HasWindow()) {
        return CPropertyPage::OnSetActive();
    }
    if (m_ListsFilled == 0) {
        FillLists();
        m_ListsFilled = 1;
    }
    LoadControlsFromReg();
    QComboBox* box = ProfileBox();
    if (box != nullptr && box->count() == 0 && m_StoreListed) {
        // An empty store: the current record becomes "default", active,
        // without asking the thread to bring anything to the card. A store
        // that failed to list its profiles is not taken for an empty one.
        m_CreatingProfile = 1;
        m_ProfileName = g_DefaultProfileName;
        DoDataExchange(false);
        ApplyChanges();
    }
    EnableItem(IDC_REMOVE, m_ProfileName != g_DefaultProfileName);
    return CPropertyPage::OnSetActive();
}

void CConfigPage::FillLists() {
    FillProfileList();
    if (auto* mode = Item<QComboBox>(IDC_MODE)) {
        const QSignalBlocker blocker(mode);
        mode->clear();
        mode->insertItem(kModeAdHoc, Text(IDS_AD_HOC));
        mode->insertItem(kModeInfrastructure, Text(IDS_INFRASTRUCTURE));
    }
    m_ListedChannels = CChannelList();
    if (auto* channel = Item<QComboBox>(IDC_CHANNEL)) {
        const QSignalBlocker blocker(channel);
        channel->clear();
        m_ListedChannels = m_AllowedChannels;
        for (int i = 0; i < m_ListedChannels.Count(); ++i) {
            channel->insertItem(i, QString::number(*m_ListedChannels.ChannelAt(i)));
        }
    }
    if (auto* power = Item<QComboBox>(IDC_POWER_SAVE)) {
        const QSignalBlocker blocker(power);
        power->clear();
        power->insertItem(0, Text(IDS_POWER_DISABLED));
        power->insertItem(1, Text(IDS_POWER_ENABLED));
    }
}

bool CConfigPage::DoDataExchange(bool save) {
    QComboBox* box = ProfileBox();
    auto* ssid = Item<QLineEdit>(IDC_SSID);
    auto* channel = Item<QComboBox>(IDC_CHANNEL);
    auto* power = Item<QComboBox>(IDC_POWER_SAVE);
    if (box == nullptr || ssid == nullptr || channel == nullptr || power == nullptr) {
        return false;
    }
    if (save) {
        m_ProfileName = box->currentText();
        m_SSID = ssid->text().left(kSsidMaxChars);
        m_ChannelIndex = channel->currentIndex();
        m_PowerSaveIndex = power->currentIndex();
        return true;
    }

    // Writing changes a control only where it differs, so a caret the user
    // placed stays where it is.
    {
        const QSignalBlocker blocker(box);
        const int entry = FindProfile(m_ProfileName);
        if (entry >= 0) {
            if (box->currentIndex() != entry) {
                box->setCurrentIndex(entry);
            }
            if (box->currentText() != box->itemText(entry)) {
                box->setEditText(box->itemText(entry));
            }
        } else {
            if (box->currentIndex() != -1) {
                box->setCurrentIndex(-1);
            }
            if (box->currentText() != m_ProfileName) {
                box->setEditText(m_ProfileName);
            }
        }
    }
    {
        const QSignalBlocker blocker(ssid);
        if (ssid->text() != m_SSID) {
            ssid->setText(m_SSID);
        }
    }
    SelectListIndex(IDC_CHANNEL, m_ChannelIndex);
    SelectListIndex(IDC_POWER_SAVE, m_PowerSaveIndex);
    return true;
}

void CConfigPage::LoadControlsFromReg() {
    if (!HasWindow()) {
        return;
    }
    const WirelessReg record = ShownRecord();

    // A mode or power saving value outside its list shows no selection and
    // stays in `reg` as it is until the user picks one.
    const int mode = record.opMode <= 1 ? static_cast<int>(record.opMode) : -1;
    SelectListIndex(IDC_MODE, mode);
    m_SavedMode = mode;

    const std::uint32_t channel = m_AllowedChannels.Fixed(record.channel);
    if (channel != record.channel) {
        if (m_PickedReg) {
            m_PickedReg->channel = channel;
        } else {
            Context().state.reg.Update([channel](WirelessReg& r) { r.channel = channel; });
        }
    }
    m_ChannelIndex = m_ListedChannels.IndexOf(channel);
    m_SavedChannelIndex = m_ChannelIndex;

    m_SSID = SsidFromField(record.ssid, sizeof record.ssid);
    m_SavedSSID = m_SSID;

    m_PowerSaveIndex = record.powerSaveMode <= 1 ? static_cast<int>(record.powerSaveMode) : -1;
    m_SavedPowerSave = m_PowerSaveIndex;
    SelectListIndex(IDC_POWER_SAVE, m_PowerSaveIndex);

    EnableListsForMode(record.opMode == kModeAdHoc);
    EnableItem(IDC_APPLY_CHANGES, false);
    EnableItem(IDC_UNDO_CHANGES, false);
    DoDataExchange(false);
}

void CConfigPage::EnableListsForMode(bool adHoc) {
    EnableItem(IDC_CHANNEL, adHoc);
    EnableItem(IDC_POWER_SAVE, !adHoc);
}

void CConfigPage::EnableItem(int id, bool enable) {
    if (auto* item = Item<QWidget>(id)) {
        item->setEnabled(enable);
    }
}

bool CConfigPage::ItemEnabled(int id) const {
    auto* item = Item<QWidget>(id);
    return item != nullptr && item->isEnabled();
}

void CConfigPage::SelectListIndex(int id, int index) {
    if (auto* list = Item<QComboBox>(id)) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    }
}

int CConfigPage::SelectedListIndex(int id) const {
    auto* list = Item<QComboBox>(id);
    return list != nullptr ? list->currentIndex() : -1;
}

void CConfigPage::OnModeSelChange() {
    DoDataExchange(true);
    const int mode = SelectedListIndex(IDC_MODE);
    if (mode == kModeInfrastructure) {
        EnableListsForMode(false);
    } else {
        // Ad hoc cells run without power saving: the list shows "Disabled",
        // and the apply stores that.
        EnableListsForMode(true);
        m_PowerSaveIndex = kPowerSaveDisabled;
    }
    EnableItem(IDC_UNDO_CHANGES, true);
    EnableItem(IDC_APPLY_CHANGES, true);
    DoDataExchange(false);
}

void CConfigPage::OnChannelSelChange() {
    DoDataExchange(true);
    EnableItem(IDC_UNDO_CHANGES, true);
    EnableItem(IDC_APPLY_CHANGES, true);
}

void CConfigPage::OnPowerSaveSelChange() {
    DoDataExchange(true);
    EnableItem(IDC_UNDO_CHANGES, true);
    EnableItem(IDC_APPLY_CHANGES, true);
    DoDataExchange(false);
}

void CConfigPage::OnSsidChange() {
    auto* ssid = Item<QLineEdit>(IDC_SSID);
    if (ssid == nullptr) {
        return;
    }
    const QString text = ssid->text().left(kSsidMaxChars);
    const int bad = FirstNonAsciiChar(text);
    if (bad >= 0) {
        // The SSID is ASCII only: keep the part before the refused
        // character and let the notice put it back into the edit.
        m_SsidAccepted = text.left(bad);
        QMetaObject::invokeMethod(this, &CConfigPage::OnSsidNotice, Qt::QueuedConnection);
        return;
    }
    DoDataExchange(true);
    EnableItem(IDC_UNDO_CHANGES, true);
    EnableItem(IDC_APPLY_CHANGES, true);
    DoDataExchange(false);
}

void CConfigPage::OnSsidNotice() {
    auto* ssid = Item<QLineEdit>(IDC_SSID);
    if (ssid == nullptr) {
        return;
    }
    // At most one notice a second; a suppressed one leaves the text as
    // typed, and the next change checks it again.
    const std::uint32_t now = Context().clock.TickCount();
    if (m_LastNoticeTick && now - *m_LastNoticeTick <= kSsidNoticeIntervalMs) {
        return;
    }
    m_LastNoticeTick = now;
    // Not blocked: the change that follows passes the check and counts as
    // the user's edit.
    ssid->setText(m_SsidAccepted);
    ssid->setCursorPosition(static_cast<int>(ssid->text().size()));
    AppMessageBox(this, Text(IDS_SSID_ASCII_ONLY), MsgButtons::Ok, MsgIcon::None);
}

void CConfigPage::OnUndoChanges() {
    m_ProfileSelected = 0;
    m_ProfileName = ProfileNameOfReg();
    SelectListIndex(IDC_MODE, m_SavedMode);
    m_ChannelIndex = m_SavedChannelIndex;
    m_SSID = m_SavedSSID;
    EnableListsForMode(m_SavedMode == kModeAdHoc);
    m_PowerSaveIndex = m_SavedPowerSave;
    SelectListIndex(IDC_POWER_SAVE, m_PowerSaveIndex);
    EnableItem(IDC_ACTIVATE, false);
    EnableItem(IDC_CREATE, false);
    EnableItem(IDC_UNDO_CHANGES, false);
    EnableItem(IDC_APPLY_CHANGES, false);
    DoDataExchange(false);
}

void CConfigPage::OnRestoreDefaults() {
    SelectListIndex(IDC_MODE, kModeInfrastructure);
    m_ChannelIndex = m_ListedChannels.IndexOf(m_AllowedChannels.Fixed(kFactoryChannel));
    m_SSID = QString::fromLatin1(kFactorySsid);
    m_PowerSaveIndex = kPowerSaveDisabled;
    EnableListsForMode(false);
    EnableItem(IDC_ACTIVATE, false);
    EnableItem(IDC_CREATE, false);
    EnableItem(IDC_UNDO_CHANGES, true);
    EnableItem(IDC_APPLY_CHANGES, true);
    DoDataExchange(false);
}

void CConfigPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : kHelpContext);
}

// ---- Applies ------------------------------------------------------------------

ConfigValues CConfigPage::PageValues() const {
    return {SelectedListIndex(IDC_MODE), m_ListedChannels.ChannelAt(m_ChannelIndex), m_SSID,
            SelectedListIndex(IDC_POWER_SAVE)};
}

QString CConfigPage::NameForApply() {
    return !m_ProfileName.isEmpty() ? m_ProfileName : ProfileNameOfReg();
}

void CConfigPage::ApplyChanges() {
    if (!DoDataExchange(true)) {
        return;
    }
    if (m_ProfileName.isEmpty()) {
        m_ProfileName = NameForApply();
    }

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
        record = ReadProfile(Context().library, m_ProfileName, record).value_or(record);
        fullApply = m_ProfileSelected != 0;
        m_ProfileSelected = 0;
    }

    WriteConfigValues(record, m_ProfileName, PageValues());
    m_SavedMode = SelectedListIndex(IDC_MODE);
    m_SavedChannelIndex = m_ChannelIndex;
    // What the record holds: the SSID up to a refused character.
    m_SSID = QString::fromLatin1(SsidFieldBytes(m_SSID));
    m_SavedSSID = m_SSID;
    m_PowerSaveIndex = SelectedListIndex(IDC_POWER_SAVE);
    m_SavedPowerSave = m_PowerSaveIndex;
    m_PickedReg.reset();
    ApplyProfile(Context(), m_ProfileName, record, m_CreatingProfile != 0, fullApply);

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
    // the active one here, and reaches the card whole.
    const QByteArray nameField = ProfileNameFieldBytes(name);
    const bool activatesPicked =
        m_ProfileSelected != 0 && m_PickedReg &&
        std::string_view(nameField.constData(), static_cast<std::size_t>(nameField.size())) ==
            FieldText(m_PickedReg->profileName);
    WirelessReg record = ShownRecord();
    WriteConfigValues(record, name, PageValues());
    m_SSID = QString::fromLatin1(SsidFieldBytes(m_SSID));
    m_PickedReg.reset();
    CommitProfile(Context(), name, record, activatesPicked);
    DoDataExchange(false);
    if (activatesPicked) {
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
