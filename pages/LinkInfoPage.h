// CLinkInfoPage: the "Link Info" page. While active it refreshes once a
// second the association state, channel, rate, SSID, frame counters and
// the signal and link-quality bars; Re-Scan has the polling thread send
// the configuration to the card again.
#pragma once

#include "pages/PropertyPage.h"

#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>

class CLinkInfoPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CLinkInfoPage(const PageContext& context);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommandHelp(int context) override;

    // Timer 183: one refresh with the next phase while the card is present.
    void OnTimer();
    // The Re-Scan button.
    void OnReScan();
    // One refresh of every control; phase 0, 1 or 2 picks the fields read.
    void updateLinkInfo(int phase);

    // Starts the link status of the process afresh (a zeroed record,
    // empty counter texts), as at start-up. For tests and benchmarks.
    static void ResetProcessState();

    const QTimer& RefreshTimer() const { return timer183_; }

    // A re-scan was requested; its button is disabled until the next
    // successful status query.
    std::int32_t m_b_ReScan = 0;
    // Which set of fields the next timer refresh asks for: 0, 1 or 2.
    std::int32_t m_n_QueryPhase = 0;

private:
    // Copies the texts between the members and the controls.
    void DoDataExchange(bool save);
    void SetEditText(int id, const QString& text);
    void SetCaption(int id, const QString& text);
    void SetBar(int id, int position);
    void ShowDisconnected();
    void ShowConnected();

    static constexpr int kTimerId = 183;
    static constexpr int kTimerPeriodMs = 1000;

    QString m_Channel;
    QString m_Rate;
    QString m_Ssid;
    QString m_State;
    QString m_Received;
    QString m_Transmitted;
    QString m_SignalCaption;
    QString m_QualityCaption;

    QTimer timer183_;
    // The page window whose read-only edits paint their own background.
    QPointer<QWidget> opaqueBody_;
};
