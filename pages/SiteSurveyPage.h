// CSiteSurveyPage: the "Site Survey" page. Search has the card scan for
// access points and ad hoc cells; 3000 ms later the list shows what it
// found. Connect joins the selected network and turns the sheet to the
// Link Info page.
#pragma once

#include "device/SurveyTable.h"
#include "pages/PropertyPage.h"

#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

class QLabel;
class QTreeWidget;

// The SSID of the row last clicked or connected.
extern QString gSelectedSSID;
// The rows of the last survey, shared by every opening of the sheet.
CSurveyTable& SurveyTable();

class CSiteSurveyPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CSiteSurveyPage(const PageContext& context);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommandHelp(int context) override;

    // The Search button: empties the list and triggers a scan; timer 188
    // fills the list.
    void OnSearch();
    // Timer 188: fills the list from the card's survey result.
    void OnTimer();
    // A click in the list (NM_CLICK): takes the selected row, if any.
    void OnListClick();
    // The Connect button: joins the selected row's network.
    void OnConnect();

    const QTimer& FillTimer() const { return timer188_; }

    // Waits while window messages keep flowing (the Windows 98/Me join);
    // WaitWithMessages unless a test puts another wait in its place.
    std::function<void(std::uint32_t ms)> waitWithMessages;

    // The list columns exist (cleared when the sheet closes).
    std::uint8_t m_b_ColumnsCreated = 0;
    // The next activation that finds the columns created searches once.
    std::uint8_t m_b_SearchOnActivate = 1;
    // Entries the library reported in the last survey result.
    std::int32_t m_n_Entries = 0;
    // The row last selected by a click.
    std::int32_t m_n_SelectedItem = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateColumns();
    void FitColumns(QTreeWidget& list);
    void ShowSearching(bool searching);
    void FillList();
    void EnableButton(int id, bool enabled);
    QTreeWidget* List() const;

    static constexpr int kTimerId = 188;
    static constexpr int kTimerPeriodMs = 3000;

    QTimer timer188_;
    // "Searching ..." over the list while the scan runs.
    QPointer<QLabel> searching_;
};
