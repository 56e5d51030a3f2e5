#include "SheetHarness.h"
#include "res/ControlIds.h"
#include "tests/support/TestViewer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
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

class LinkInfoPage : public testing::Test {
protected:
    LinkInfoPage() {
        CLinkInfoPage::ResetProcessState();
        gDevicePresent = 1;
        HostInfo host = h.card.CardHost();
        const std::uint8_t bssid[6] = {0x00, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E};
        std::memcpy(host.bssid, bssid, sizeof bssid);
        host.rssi = -60;
        host.supportedRates[0] = 108;
        host.ssidLength = 7;
        std::memcpy(host.ssid, "corvane", 7);
        h.card.SetCardHost(host);
        h.card.SetCounters(1234, 5678);
    }

    CLinkInfoPage& Page() { return h.sheet->m_LinkInfoPage; }
    QString Edit(int id) { return Page().findChild<QLineEdit*>(QString::number(id))->text(); }
    // Status, channel, rate, SSID, frames sent and received.
    QStringList Edits() {
        QStringList texts;
        for (int id :
             {kStateEdit, kChannelEdit, kRateEdit, kSsidEdit, kTransmittedEdit, kReceivedEdit}) {
            texts << Edit(id);
        }
        return texts;
    }
    QString Caption(int id) { return Page().findChild<QLabel*>(QString::number(id))->text(); }
    int Bar(int id) { return Page().findChild<QProgressBar*>(QString::number(id))->value(); }
    QPushButton* ReScan() { return Page().findChild<QPushButton*>(QString::number(kReScanButton)); }

    // Signal caption and bar, link-quality caption and bar: "Good (40%) 6|Good (40%) 6".
    QString Bars() {
        return QStringLiteral("%1 %2|%3 %4")
            .arg(Caption(kSignalCaption))
            .arg(Bar(kSignalBar))
            .arg(Caption(kQualityCaption))
            .arg(Bar(kQualityBar));
    }

    template <class F> void SetCard(F change) {
        HostInfo host = h.card.CardHost();
        change(host);
        h.card.SetCardHost(host);
    }

    SheetHarness h;
};

TEST_F(LinkInfoPage, FirstRefreshShowsNoSignalUntilTheModeIsKnown) {
    h.Open();
    EXPECT_EQ((QStringList{kConnected, "6", "54", "corvane", "1234", "5678"}), Edits());
    EXPECT_EQ("No Signal 0|No Signal 0", Bars());

    Page().OnTimer();
    EXPECT_EQ("Very Good (66%) 9|Very Good (60%) 9", Bars());
}

// The card's level is a 16-bit signed value.
TEST_F(LinkInfoPage, SignalLevelsOfTheCard) {
    struct {
        std::int32_t rssi;
        const char* shown;
    } cases[] = {
        {0, "No Signal 0|No Signal 0"},
        {-72, "Good (40%) 6|Good (40%) 6"},
        {0x1FFD3, "Excellent (100%) 15|Excellent (100%) 15"},
        {-32768, "No Signal 0|No Signal 0"},
    };
    h.Open();
    for (const auto& c : cases) {
        SetCard([&c](HostInfo& host) { host.rssi = c.rssi; });
        Page().OnTimer();
        EXPECT_EQ(c.shown, Bars()) << c.rssi << " dBm";
    }
}

TEST_F(LinkInfoPage, AdHocShowsNotAvailable) {
    SetCard([](HostInfo& host) { host.infrastructureMode = 0; });
    h.Open();
    Page().OnTimer();
    EXPECT_EQ("N/A 0|N/A 0", Bars());
    EXPECT_EQ(kConnected, Edit(kStateEdit));
}

TEST_F(LinkInfoPage, OddRecordFieldsShowWhatTheyCan) {
    SetCard([](HostInfo& host) {
        host.ssidLength = 40;
        std::memset(host.ssid, 'S', sizeof host.ssid);
        host.ssid[31] = static_cast<std::uint8_t>(0xE9);
        host.configuration.dsConfig = 5180000; // no 2.4 GHz channel
        host.supportedRates[0] = 11;           // 5.5 Mbit/s
    });
    h.card.SetCounters(3000000000u, 0);
    h.Open();
    // A byte that is not UTF-8 shows escaped.
    const QString ssid = QString(31, 'S') + QStringLiteral("\\xE9");
    EXPECT_EQ((QStringList{kConnected, "0", "5", ssid, "3000000000", "0"}), Edits());
}

TEST_F(LinkInfoPage, DisconnectedShowsScanningAndKeepsTheFrameCounters) {
    h.Open();
    Page().OnTimer();
    TestViewer viewer(1);
    h.card.SetMediaStatus(1);
    h.card.SetCounters(1, 2);
    Page().OnTimer();
    viewer.Join();

    EXPECT_EQ((QStringList{"Scanning ...", " ", " ", " ", "1234", "5678"}), Edits());
    EXPECT_EQ(" 0| 0", Bars());
    EXPECT_EQ(std::vector<std::string>{std::string("2", 2)}, viewer.texts);
}

TEST_F(LinkInfoPage, FailedStatusQueryChangesNothingAndReleasesThePollingThread) {
    h.Open();
    h.card.SetMediaStatus(1);
    h.card.FailQueryOID(1);
    h.card.ClearCalls();
    Page().OnTimer();
    EXPECT_EQ(kConnected, Edit(kStateEdit));
    EXPECT_EQ("corvane", Edit(kSsidEdit));
    EXPECT_EQ((std::vector<std::string>{"QueryOID"}), h.card.CallNames());
    EXPECT_TRUE(h.sheet->state.background.IsSet());
    // The refresh waited for the polling thread's answer, at most 2000 ms.
    EXPECT_EQ(2000u, h.clock.Waits().back());
}

TEST_F(LinkInfoPage, FailedCounterQueryKeepsTheLastText) {
    h.Open();
    bool failTransmitted = true;
    h.card.OnQueryOID([&](std::uint32_t oid, void* buffer, std::uint32_t, std::uint32_t* written) {
        if (oid == TAVL_OID_GEN_XMIT_OK && failTransmitted) {
            return 1;
        }
        const std::uint32_t value = oid == TAVL_OID_GEN_XMIT_OK  ? 99
                                    : oid == TAVL_OID_GEN_RCV_OK ? 77
                                                                 : 0;
        std::memcpy(buffer, &value, sizeof value);
        *written = 4;
        return 0;
    });
    Page().OnTimer();
    EXPECT_EQ("1234", Edit(kTransmittedEdit));
    EXPECT_EQ("77", Edit(kReceivedEdit));
    failTransmitted = false;
    Page().OnTimer();
    EXPECT_EQ("99", Edit(kTransmittedEdit));
}

// Re-Scan greys out until the next answer, connected or not; while the
// desktop's zero configuration service runs it stays grey.
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

        h.card.FailQueryOID(1); // no answer: still waiting
        Page().OnTimer();
        EXPECT_FALSE(ReScan()->isEnabled());

        Page().OnTimer();
        EXPECT_TRUE(ReScan()->isEnabled()) << "media " << media;
        h.Cancel();
    }
    h.card.SetZeroConfigState(1);
    h.Open();
    EXPECT_FALSE(ReScan()->isEnabled());
}

TEST_F(LinkInfoPage, TimerRefreshesOnlyWhileTheCardIsPresentAndCyclesThePhases) {
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
}

TEST_F(LinkInfoPage, LeavingStopsTheTimerAndReturningShowsTheLastTexts) {
    h.Open();
    h.SelectTab(4);
    EXPECT_FALSE(Page().RefreshTimer().isActive());
    h.card.FailQueryOID(1); // the refresh on return changes nothing
    h.SelectTab(0);
    EXPECT_TRUE(Page().RefreshTimer().isActive());
    EXPECT_EQ(kConnected, Edit(kStateEdit));
}

// Once shown, the read-only edits paint what lies behind them themselves:
// each edit's surroundings look exactly as before, and new texts show.
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
    h.card.SetCounters(99, 100);
    Page().OnTimer();
    h.Drain();
    EXPECT_EQ(Page().findChild<QLineEdit*>(QString::number(kTransmittedEdit))->text(),
              QStringLiteral("99"));
}

} // namespace
