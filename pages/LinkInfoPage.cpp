#include "pages/LinkInfoPage.h"

#include "device/AccessHandshake.h"
#include "device/CardLibrary.h"
#include "device/HostState.h"
#include "device/LinkStatus.h"
#include "device/Rssi.h"
#include "pages/EditBackdrop.h"
#include "pages/SsidDisplay.h"
#include "platform/Help.h"
#include "res/ControlIds.h"
#include "res/Strings.h"
#include "res/Templates.h"
#include "support/Trace.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

using namespace LinkInfoControls;

constexpr int kBarMaximum = 15;

// The link status of the process: one record reused by every refresh
// (fields a query does not read keep their values) and the last texts of
// the frame counters. Used by the user-interface thread only.
struct LinkStatusState {
    bool used = false;
    HostInfo record{};
    QString transmitted;
    QString received;
};

LinkStatusState gLinkStatus;

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

LevelWords CaptionWords() {
    return {ResString(IDS_NO_SIGNAL), ResString(IDS_POOR), ResString(IDS_GOOD),
            ResString(IDS_VERY_GOOD), ResString(IDS_EXCELLENT)};
}

// A frame counter of the card; nothing when the query fails (the value is
// then not written).
bool QueryCounter(CardLibrary& library, std::uint32_t oid, std::uint32_t& value) {
    std::uint32_t written = 0;
    return library.QueryOID(oid, &value, sizeof value, &written) == 0;
}

} // namespace

CLinkInfoPage::CLinkInfoPage(const PageContext& context)
    : CPropertyPage(kLinkInfoTemplate, context) {
    timer183_.setInterval(kTimerPeriodMs);
    timer183_.setObjectName(QString::number(kTimerId));
    connect(&timer183_, &QTimer::timeout, this, &CLinkInfoPage::OnTimer);
}

void CLinkInfoPage::ResetProcessState() {
    gLinkStatus = LinkStatusState{};
}

bool CLinkInfoPage::OnInitDialog() {
    if (auto* button = Item<QPushButton>(kReScanButton)) {
        connect(button, &QPushButton::clicked, this, &CLinkInfoPage::OnReScan);
    }
    return true;
}

bool CLinkInfoPage::OnSetActive() {
    std::uint32_t zeroConfig = 0;
    Context().library.Get_XPWZC(&zeroConfig);
    if (zeroConfig != 0) {
        if (auto* button = Item<QPushButton>(kReScanButton)) {
            button->setEnabled(false);
        }
    }
    for (int id : {kQualityBar, kSignalBar}) {
        if (auto* bar = Item<QProgressBar>(id)) {
            bar->setRange(0, kBarMaximum);
        }
    }
    DoDataExchange(false);
    updateLinkInfo(0);
    opaqueBody_ = nullptr;
    timer183_.start();
    return CPropertyPage::OnSetActive();
}

bool CLinkInfoPage::OnKillActive() {
    timer183_.stop();
    DoDataExchange(true);
    return CPropertyPage::OnKillActive();
}

void CLinkInfoPage::OnOK() {
    gSheetOpen = 0;
    CPropertyPage::OnOK();
}

void CLinkInfoPage::OnCancel() {
    gSheetOpen = 0;
    CPropertyPage::OnCancel();
}

void CLinkInfoPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : HELP_LINK_INFO);
}

void CLinkInfoPage::OnTimer() {
    // The timer belongs to the page window: once the sheet has destroyed
    // the window (closed without leaving the page) it stops.
    if (!HasWindow()) {
        timer183_.stop();
        return;
    }
    // Once the page is on screen, what lies behind its edits can be read.
    if (opaqueBody_ != Body() && Body()->isVisible()) {
        CEditBackdrop::Apply(Body());
        opaqueBody_ = Body();
    }
    if (gDevicePresent) {
        updateLinkInfo(m_n_QueryPhase);
        if (++m_n_QueryPhase == 3) {
            m_n_QueryPhase = 0;
        }
    }
}

void CLinkInfoPage::OnReScan() {
    for (int id :
         {kStateEdit, kRateEdit, kTransmittedEdit, kReceivedEdit, kSsidEdit, kChannelEdit}) {
        SetEditText(id, QString());
    }
    SetBar(kSignalBar, 0);
    SetBar(kQualityBar, 0);
    SetCaption(kSignalCaption, QString());
    SetCaption(kQualityCaption, QString());
    gChangeParametersRequest = 1;
    m_b_ReScan = 1;
    m_n_QueryPhase = 0;
    if (auto* button = Item<QPushButton>(kReScanButton)) {
        button->setEnabled(false);
    }
}

void CLinkInfoPage::updateLinkInfo(int phase) {
    if (!gLinkStatus.used) {
        gLinkStatus.record = HostInfo{};
        gLinkStatus.used = true;
    }
    CAccessHandshake handshake(Context().state, Context().clock);
    TraceOut(" Q ");
    if (!QueryLinkStatus(Context().library, gLinkStatus.record, phase)) {
        return;
    }
    if (m_b_ReScan == 1) {
        TraceOut("updateLinkInfo  m_b_ReScan == TRUE  NdisMediaStateConnected\n");
        m_b_ReScan = 0;
        if (auto* button = Item<QPushButton>(kReScanButton)) {
            button->setEnabled(true);
        }
    }
    if (gLinkStatus.record.mediaConnectStatus != 0) {
        ShowDisconnected();
    } else {
        ShowConnected();
    }
}

void CLinkInfoPage::ShowDisconnected() {
    TraceToViewer("2");
    const QString blank = QStringLiteral(" ");
    SetEditText(kChannelEdit, blank);
    SetEditText(kRateEdit, blank);
    SetEditText(kSsidEdit, blank);
    SetBar(kSignalBar, 0);
    SetBar(kQualityBar, 0);
    SetCaption(kSignalCaption, QString());
    SetCaption(kQualityCaption, QString());
    SetEditText(kStateEdit, QString::fromLatin1(ResString(IDS_SCANNING)));
}

void CLinkInfoPage::ShowConnected() {
    HostInfo& record = gLinkStatus.record;
    CardLibrary& library = Context().library;
    const QString state =
        QString::fromLatin1(ResString(IDS_CONNECTED_BSSID)) + Latin1(BssidText(record.bssid));

    if (record.infrastructureMode == 0) {
        SetBar(kSignalBar, 0);
        SetBar(kQualityBar, 0);
        SetCaption(kSignalCaption, QStringLiteral("N/A"));
        SetCaption(kQualityCaption, QStringLiteral("N/A"));
    } else {
        const int percent = RssiToPercent(static_cast<std::int16_t>(record.rssi & 0xFFFF));
        // Later refreshes that do not read the level again see the
        // percentage, as the card's record has always carried it.
        record.rssi = percent;
        const LinkBars bars = LinkBarsForPercent(percent, CaptionWords());
        SetBar(kSignalBar, bars.signalBar);
        SetCaption(kSignalCaption, Latin1(bars.signalCaption));
        SetBar(kQualityBar, bars.qualityBar);
        SetCaption(kQualityCaption, Latin1(bars.qualityCaption));
    }

    const QString ssid = SsidDisplayText(LinkSsidText(record));

    // Frame counters: a failed query leaves the last text shown.
    std::uint32_t frames = 0;
    if (QueryCounter(library, TAVL_OID_GEN_XMIT_OK, frames)) {
        gLinkStatus.transmitted = QString::number(frames);
    }
    SetEditText(kTransmittedEdit, gLinkStatus.transmitted);
    if (QueryCounter(library, TAVL_OID_GEN_RCV_OK, frames)) {
        gLinkStatus.received = QString::number(frames);
    }
    SetEditText(kReceivedEdit, gLinkStatus.received);

    SetEditText(kRateEdit, QString::number(LinkRateMbps(record)));
    const auto channel =
        static_cast<std::int32_t>(library.FrequencyToChannel(record.configuration.dsConfig));
    SetEditText(kChannelEdit, QString::number(channel));
    SetEditText(kSsidEdit, ssid);
    SetEditText(kStateEdit, state);
}

void CLinkInfoPage::DoDataExchange(bool save) {
    const struct {
        QString* text;
        int id;
        bool edit;
    } fields[] = {
        {&m_Channel, kChannelEdit, true},
        {&m_Rate, kRateEdit, true},
        {&m_Ssid, kSsidEdit, true},
        {&m_State, kStateEdit, true},
        {&m_Received, kReceivedEdit, true},
        {&m_Transmitted, kTransmittedEdit, true},
        {&m_SignalCaption, kSignalCaption, false},
        {&m_QualityCaption, kQualityCaption, false},
    };
    for (const auto& field : fields) {
        if (field.edit) {
            if (auto* edit = Item<QLineEdit>(field.id)) {
                if (save) {
                    *field.text = edit->text();
                } else {
                    const QSignalBlocker blocker(edit);
                    edit->setText(*field.text);
                }
            }
        } else if (auto* label = Item<QLabel>(field.id)) {
            if (save) {
                *field.text = label->text();
            } else {
                label->setText(*field.text);
            }
        }
    }
}

void CLinkInfoPage::SetEditText(int id, const QString& text) {
    // A changed text is scheduled for painting: every edit a refresh
    // changes is painted together in one pass of the event loop, right
    // after the refresh. An unchanged text costs no paint at all.
    if (auto* edit = Item<QLineEdit>(id); edit != nullptr && edit->text() != text) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

void CLinkInfoPage::SetCaption(int id, const QString& text) {
    if (auto* label = Item<QLabel>(id)) {
        label->setText(text);
    }
}

void CLinkInfoPage::SetBar(int id, int position) {
    if (auto* bar = Item<QProgressBar>(id)) {
        bar->setValue(position);
    }
}
