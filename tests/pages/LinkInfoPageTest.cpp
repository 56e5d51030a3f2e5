#include "SheetHarness.h"
#include "res/ControlIds.h"
#include "tests/support/TestViewer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace LinkInfoControls;

const QString kConnected = QStringLiteral("Connected - BSSID = 00-0A-0B-0C-0D-0E");
// The SSID shows escaped what is not UTF-8.
const QString kSsid = QString(31, 'S') + QStringLiteral("\\xE9");

class LinkInfoPage : public testing::Test {
protected:
    LinkInfoPage() {
        CLinkInfoPage::ResetProcessState();
        gDevicePresent = 1;
        HostInfo host = h.card.CardHost();
        const std::uint8_t bssid[6] = {0x00, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E};
        std::memcpy(host.bssid, bssid, sizeof bssid);
        host.rssi = -60;
        host.supportedRates[0] = 11; // 5.5 Mbit/s
        // A length past the field, a byte that is not UTF-8 at its end.
        host.ssidLength = 40;
        std::memset(host.ssid, 'S', sizeof host.ssid);
        host.ssid[31] = static_cast<std::uint8_t>(0xE9);
        h.card.SetCardHost(host);
        h.card.SetCounters(3000000000u, 5678);
    }

    CLinkInfoPage& Page() { return h.sheet->m_LinkInfoPage; }
    // Status, channel, rate, SSID, frames sent and received.
    QStringList Edits() {
        QStringList texts;
        for (int id :
             {kStateEdit, kChannelEdit, kRateEdit, kSsidEdit, kTransmittedEdit, kReceivedEdit}) {
            texts << h.Text(id);
        }
        return texts;
    }
    int Bar(int id) { return h.Control<QProgressBar>(id)->value(); }
    QPushButton* ReScan() { return h.Control<QPushButton>(kReScanButton); }

    // Signal caption and bar, link-quality caption and bar: "Good (40%) 6|Good (40%) 6".
    QString Bars() {
        return QStringLiteral("%1 %2|%3 %4")
            .arg(h.Text(kSignalCaption))
            .arg(Bar(kSignalBar))
            .arg(h.Text(kQualityCaption))
            .arg(Bar(kQualityBar));
    }

    SheetHarness h;
};

// The first refresh shows no signal until the mode is known. The card's
// level is a 16-bit signed value; an ad hoc cell has no level to show and
// stays connected.
TEST_F(LinkInfoPage, SignalLevelsOfTheCard) {
    h.Open();
    EXPECT_EQ((QStringList{kConnected, "6", "5", kSsid, "3000000000", "5678"}), Edits());
    EXPECT_EQ("No Signal 0|No Signal 0", Bars());
    Page().OnTimer();
    EXPECT_EQ("Very Good (66%) 9|Very Good (60%) 9", Bars());

    struct {
        std::int32_t rssi;
        std::uint32_t infrastructure;
        const char* shown;
    } cases[] = {
        {0, 1, "No Signal 0|No Signal 0"},
        {-72, 1, "Good (40%) 6|Good (40%) 6"},
        {0x1FFD3, 1, "Excellent (100%) 15|Excellent (100%) 15"},
        {-32768, 1, "No Signal 0|No Signal 0"},
        {-60, 0, "N/A 0|N/A 0"},
    };
    for (const auto& c : cases) {
        HostInfo host = h.card.CardHost();
        host.rssi = c.rssi;
        host.infrastructureMode = c.infrastructure;
        h.card.SetCardHost(host);
        for (int phase = 0; phase < 3; ++phase) {
            Page().OnTimer();
        }
        EXPECT_EQ(c.shown, Bars()) << c.rssi << " dBm";
        EXPECT_EQ(kConnected, h.Text(kStateEdit));
    }
}

TEST_F(LinkInfoPage, DisconnectedShowsScanningAndKeepsTheFrameCounters) {
    h.Open();
    Page().OnTimer();
    TestViewer viewer(1);
    h.card.SetMediaStatus(1);
    h.card.SetCounters(1, 2);
    Page().OnTimer();
    viewer.Join();

    EXPECT_EQ((QStringList{"Scanning ...", " ", " ", " ", "3000000000", "5678"}), Edits());
    EXPECT_EQ(" 0| 0", Bars());
    EXPECT_EQ(std::vector<std::string>{std::string("2", 2)}, viewer.texts);
}

TEST_F(LinkInfoPage, FailedCounterQueryKeepsTheLastText) {
    h.Open();
    h.card.OnQueryOID([](std::uint32_t oid, void* buffer, std::uint32_t, std::uint32_t* written) {
        const std::uint32_t value = oid == TAVL_OID_GEN_RCV_OK ? 77 : 0; // connected
        std::memcpy(buffer, &value, sizeof value);
        *written = 4;
        return oid == TAVL_OID_GEN_XMIT_OK ? 1 : 0;
    });
    Page().OnTimer();
    EXPECT_EQ("3000000000", h.Text(kTransmittedEdit));
    EXPECT_EQ("77", h.Text(kReceivedEdit));
    h.card.OnQueryOID(nullptr);
    Page().OnTimer();
    EXPECT_EQ("5678", h.Text(kReceivedEdit));
}

// Re-Scan greys out until the next answer, connected or not; while the
// desktop's zero configuration service runs it stays grey. A failed status
// query is no answer: it reads nothing more, changes nothing and releases
// the polling thread after waiting at most 2000 ms for it.
TEST_F(LinkInfoPage, ReScanGreysOutUntilTheNextAnswer) {
    for (std::uint32_t media : {0u, 1u}) {
        h.card.SetMediaStatus(0);
        h.Open();
        Page().OnTimer();
        Page().OnTimer();
        gChangeParametersRequest = 0;
        h.card.SetMediaStatus(media);

        QTest::mouseClick(ReScan(), Qt::LeftButton);
        EXPECT_FALSE(ReScan()->isEnabled());
        EXPECT_EQ(1, gChangeParametersRequest);

        h.card.FailQuery(true);
        h.card.ClearCalls();
        Page().OnTimer();
        EXPECT_FALSE(ReScan()->isEnabled());
        EXPECT_EQ((std::vector<std::string>{"QueryOID"}), h.card.CallNames());
        EXPECT_EQ("", h.Text(kStateEdit));
        EXPECT_TRUE(h.sheet->state.background.IsSet());
        EXPECT_EQ(2000u, h.clock.Waits().back());
        h.card.FailQuery(false);

        Page().OnTimer();
        EXPECT_TRUE(ReScan()->isEnabled()) << "media " << media;
        h.Cancel();
    }
    h.card.SetZeroConfigState(1);
    h.Open();
    EXPECT_FALSE(ReScan()->isEnabled());
}

// The timer refreshes only while the card is present, cycling the three
// phases; leaving the page stops it, returning shows the last texts.
TEST_F(LinkInfoPage, TimerRefreshesWhileShownAndTheCardIsPresentCyclingThePhases) {
    h.Open();
    gDevicePresent = 0;
    h.card.ClearCalls();
    Page().OnTimer();
    EXPECT_TRUE(h.card.Calls().empty());

    gDevicePresent = 1;
    std::vector<std::uint32_t> masks;
    for (int i = 0; i < 4; ++i) {
        Page().OnTimer();
        masks.push_back(h.card.LastCall("GetWLANConfig")->maskIn);
    }
    EXPECT_EQ((std::vector<std::uint32_t>{0x01000E33, 0x01000C13, 0x01000812, 0x01000E33}), masks);

    h.SelectTab(4);
    EXPECT_FALSE(Page().RefreshTimer().isActive());
    h.card.FailQuery(true); // the refresh on return changes nothing
    h.SelectTab(0);
    EXPECT_TRUE(Page().RefreshTimer().isActive());
    EXPECT_EQ(kConnected, h.Text(kStateEdit));
}

// Once shown, the read-only edits paint what lies behind them themselves:
// each edit's surroundings look exactly as before.
TEST_F(LinkInfoPage, EditsPaintTheirBackdropWithoutChangingThePicture) {
    h.Open();
    h.Drain();
    const QList<QLineEdit*> edits = Page().findChildren<QLineEdit*>();
    auto around = [&](QLineEdit* edit) {
        const QRect area = edit->geometry().adjusted(-2, -2, 2, 2);
        return edit->parentWidget()->grab(area).toImage();
    };
    std::vector<QImage> shown;
    for (QLineEdit* edit : edits) {
        shown.push_back(around(edit));
    }
    Page().OnTimer();
    h.Drain();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(edits[i]->testAttribute(Qt::WA_OpaquePaintEvent));
        EXPECT_EQ(around(edits[i]), shown[i]) << edits[i]->objectName().toStdString();
    }
}

} // namespace
