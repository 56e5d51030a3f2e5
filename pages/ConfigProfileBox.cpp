// The Configuration page's profile box: the list of stored profiles, the
// name typed in its edit field, and Create, Remove and Activate.
#include "pages/ConfigPage.h"

#include "device/Records.h"
#include "device/SheetState.h"
#include "pages/ConfigProfileNames.h"
#include "pages/ConfigProfileStore.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QSignalBlocker>

#include <optional>
#include <string_view>

namespace {

QStringList BoxNames(const QComboBox& box) {
    QStringList names;
    for (int i = 0; i < box.count(); ++i) {
        names << box.itemText(i);
    }
    return names;
}

} // namespace

QComboBox* CConfigPage::ProfileBox() const {
    return Item<QComboBox>(IDC_PROFILE);
}

int CConfigPage::FindProfile(const QString& name) const {
    QComboBox* box = ProfileBox();
    if (box == nullptr) {
        return -1;
    }
    return FindProfileName(BoxNames(*box), name);
}

int CConfigPage::AddProfileSorted(const QString& name) {
    QComboBox* box = ProfileBox();
    if (box == nullptr) {
        return -1;
    }
    const int at = ProfileInsertPosition(BoxNames(*box), name);
    const QSignalBlocker blocker(box);
    box->insertItem(at, name);
    return at;
}

void CConfigPage::FillProfileList() {
    QComboBox* box = ProfileBox();
    if (box == nullptr) {
        return;
    }
    {
        const QSignalBlocker blocker(box);
        box->clear();
    }
    const ProfileListing listing = ListProfiles(Context().library);
    m_StoreListed = listing.complete;
    {
        const QSignalBlocker blocker(box);
        box->addItems(listing.names);
    }
    if (listing.active.isEmpty()) {
        // No active profile: the box names the profile `reg` holds.
        m_ProfileName = ProfileNameOfReg();
        return;
    }
    m_ProfileName = listing.active;
    const QByteArray field = ProfileNameFieldBytes(listing.active);
    Context().state.reg.Update([&field](WirelessReg& r) {
        SetFieldText(r.profileName, std::string_view(field.constData(), field.size()));
    });
}

WirelessReg CConfigPage::ShownRecord() {
    return m_PickedReg ? *m_PickedReg : Context().state.reg.Get();
}

QString CConfigPage::ProfileNameOfReg() {
    const WirelessReg record = ShownRecord();
    const std::string_view field = FieldText(record.profileName);
    const QByteArray bytes(field.data(), static_cast<qsizetype>(field.size()));
    const QString stored = QString::fromUtf8(bytes);
    if (QComboBox* box = ProfileBox()) {
        const int entry = FindProfile(stored);
        if (entry >= 0) {
            return box->itemText(entry);
        }
        // A long name is kept in the record cut to fit its field.
        for (int i = 0; i < box->count(); ++i) {
            if (!bytes.isEmpty() && ProfileNameFieldBytes(box->itemText(i)) == bytes) {
                return box->itemText(i);
            }
        }
    }
    return !stored.isEmpty() ? stored : g_DefaultProfileName;
}

void CConfigPage::EnableRemoveFor(const QString& name) {
    EnableItem(IDC_REMOVE, name != g_DefaultProfileName);
}

void CConfigPage::OnProfileSelChange(int index) {
    QComboBox* box = ProfileBox();
    if (box == nullptr || index < 0 || index >= box->count()) {
        return;
    }
    m_ProfileName = box->itemText(index);
    EnableItem(IDC_ACTIVATE, true);
    EnableItem(IDC_CREATE, false);
    EnableRemoveFor(m_ProfileName);
    // The page shows the picked profile; `reg`, the card and the active
    // profile keep theirs until Activate or Apply Changes.
    if (std::optional<WirelessReg> picked =
            ReadProfile(Context().library, m_ProfileName, ShownRecord())) {
        m_PickedReg = picked;
    }
    m_ProfileSelected = 1;
    LoadControlsFromReg();
    EnableItem(IDC_ACTIVATE, true);
    DoDataExchange(false);
}

void CConfigPage::OnProfileEditChange() {
    QComboBox* box = ProfileBox();
    QLineEdit* edit = box != nullptr ? box->lineEdit() : nullptr;
    if (edit == nullptr) {
        return;
    }
    const QString text = edit->text();
    const QString cut = FirstCharacters(text, kProfileNameMaxChars);
    if (cut.size() < text.size()) {
        {
            const QSignalBlocker blocker(edit);
            edit->setText(cut);
        }
        QMetaObject::invokeMethod(
            this,
            [this] {
                QComboBox* box = ProfileBox();
                if (QLineEdit* edit = box != nullptr ? box->lineEdit() : nullptr) {
                    edit->setCursorPosition(static_cast<int>(edit->text().size()));
                }
            },
            Qt::QueuedConnection);
        return;
    }

    const int entry = FindProfile(text);
    if (entry >= 0) {
        const QString listed = box->itemText(entry);
        {
            const QSignalBlocker blockBox(box);
            const QSignalBlocker blockEdit(edit);
            box->setCurrentIndex(entry);
            if (edit->text() != listed) {
                edit->setText(listed);
            }
            edit->setSelection(static_cast<int>(text.size()),
                               static_cast<int>(listed.size() - text.size()));
        }
        EnableItem(IDC_ACTIVATE, true);
        EnableItem(IDC_CREATE, false);
        // The entry's own text decides: "DEFAULT" typed finds "default".
        EnableRemoveFor(listed);
        return;
    }
    // Nothing to create from an empty box.
    EnableItem(IDC_CREATE, !text.isEmpty());
    EnableItem(IDC_ACTIVATE, false);
    EnableItem(IDC_REMOVE, false);
}

void CConfigPage::OnCreateProfile() {
    DoDataExchange(true);
    if (m_ProfileName.isEmpty()) {
        EnableItem(IDC_CREATE, false);
        return;
    }
    // A refused name leaves nothing pending: the next apply is an
    // ordinary one.
    if (FindProfile(m_ProfileName) >= 0) {
        AppMessageBox(this, QString::fromUtf8(ResString(IDS_PROFILE_EXISTS)));
    } else {
        // The new profile takes every field the page does not show from
        // the record the page shows.
        m_CreatingProfile = 1;
        ApplyChanges();
    }
    EnableItem(IDC_CREATE, false);
    EnableItem(IDC_REMOVE, true);
}

void CConfigPage::OnRemoveProfile() {
    QComboBox* box = ProfileBox();
    if (box == nullptr) {
        return;
    }
    // The profile last selected, created or applied; the box's text as
    // typed since then does not count.
    const QString name = m_ProfileName;
    const int entry = FindProfile(name);
    if (name == g_DefaultProfileName ||
        (entry >= 0 && box->itemText(entry) == g_DefaultProfileName)) {
        AppMessageBox(this, QString::fromUtf8(ResString(IDS_CANNOT_REMOVE_DEFAULT)));
        return;
    }
    const QString question =
        QString::fromUtf8(ResString(IDS_CONFIRM_REMOVE)) + name + QStringLiteral("?");
    if (AppMessageBox(this, question, MsgButtons::YesNo) != IDYES || entry < 0) {
        return;
    }
    {
        const QSignalBlocker blocker(box);
        box->removeItem(entry);
    }
    RemoveProfile(Context().library, name, g_DefaultProfileName);

    // "default" is the active profile now: pick it as the user would.
    for (int i = 0; i < box->count(); ++i) {
        if (SameProfileName(box->itemText(i).left(g_DefaultProfileName.size()),
                            g_DefaultProfileName)) {
            {
                const QSignalBlocker blocker(box);
                box->setCurrentIndex(i);
            }
            m_PickedReg.reset();
            OnProfileSelChange(i);
            // "default" is the active profile now, so `reg` holds its
            // record: no later store into the active profile writes the
            // removed profile's settings into it.
            if (m_PickedReg) {
                Context().state.reg.Set(*m_PickedReg);
            }
            return;
        }
    }
    // Its entry is missing: the box names it with nothing selected, and
    // Create can store it again from the page's values.
    m_ProfileName = g_DefaultProfileName;
    m_ProfileSelected = 0;
    {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(-1);
    }
    DoDataExchange(false);
    EnableItem(IDC_CREATE, true);
    EnableItem(IDC_ACTIVATE, false);
    EnableItem(IDC_REMOVE, false);
}

void CConfigPage::OnActivateProfile() {
    ApplyChanges();
    EnableItem(IDC_ACTIVATE, false);
}
