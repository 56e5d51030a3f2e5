#include "pages/SiteSurveyPage.h"

#include "device/AccessHandshake.h"
#include "device/Apply.h"
#include "device/CardLibrary.h"
#include "device/HostState.h"
#include "device/SurveyDecoder.h"
#include "pages/SsidDisplay.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/WaitWithMessages.h"
#include "res/ControlIds.h"
#include "res/Strings.h"
#include "res/Templates.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>
#include <vector>

QString gSelectedSSID;

CSurveyTable& SurveyTable() {
    static CSurveyTable table;
    return table;
}

namespace {

using namespace SiteSurveyControls;

// Columns of the list, in order. Their widths follow the texts they show
// in the font drawn here (FitColumns).
struct Column {
    const char* title;
};
constexpr Column kColumns[] = {
    {"SSID"}, {"BSSID"}, {"Signal"}, {"Channel"}, {"WEP"}, {"BSSType"},
};
static_assert(std::size(kColumns) == kSurveyColumnCount);
constexpr int kSsidColumn = static_cast<int>(SurveyColumn::Ssid);

// The list's texts of a row: the SSID readably, the others as decoded.
QStringList RowTexts(const SurveyRow& row) {
    QStringList texts{SsidDisplayText(row.ssid)};
    for (int column = kSsidColumn + 1; column < kSurveyColumnCount; ++column) {
        texts << QString::fromStdString(SurveyColumnText(row, static_cast<SurveyColumn>(column)));
    }
    return texts;
}

// Room around a column's text: the item's and the header's margins.
constexpr int kColumnPadding = 8;
// Pixels between the list and the page's edges.
constexpr int kListMargin = 3;

} // namespace

CSiteSurveyPage::CSiteSurveyPage(const PageContext& context)
    : CPropertyPage(kSiteSurveyTemplate, context), waitWithMessages(&WaitWithMessages) {
    timer188_.setInterval(kTimerPeriodMs);
    timer188_.setObjectName(QString::number(kTimerId));
    connect(&timer188_, &QTimer::timeout, this, &CSiteSurveyPage::OnTimer);
}

QTreeWidget* CSiteSurveyPage::List() const {
    return Item<QTreeWidget>(kSurveyList);
}

bool CSiteSurveyPage::OnInitDialog() {
    if (auto* search = Item<QPushButton>(kSearchButton)) {
        connect(search, &QPushButton::clicked, this, &CSiteSurveyPage::OnSearch);
    }
    if (auto* join = Item<QPushButton>(kConnectButton)) {
        connect(join, &QPushButton::clicked, this, &CSiteSurveyPage::OnConnect);
    }
    if (QTreeWidget* list = List()) {
        // The six columns need more than the list's template width in the
        // font drawn here: the list takes the page's whole width.
        if (Body() != nullptr) {
            list->setGeometry(kListMargin, list->y(), Body()->width() - 2 * kListMargin,
                              list->height());
        }
        // Every left click in the list area is the list's click
        // notification, on a row or not; other buttons neither select nor
        // notify.
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
        // The keyboard moves the highlight as a click does: the
        // highlighted row is the one Connect joins. A mouse press changes
        // the selection too; its release notifies.
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this] {
            if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
                OnListClick();
            }
        });
        searching_ = new QLabel(QString::fromLatin1(ResString(IDS_SEARCHING)), list->viewport());
        searching_->setObjectName(QStringLiteral("searching"));
        searching_->setAlignment(Qt::AlignCenter);
        searching_->hide();
    }
    return true;
}

bool CSiteSurveyPage::eventFilter(QObject* watched, QEvent* event) {
    // Only input is looked at: the list's widgets also send events while
    // the page window is being destroyed, when the list cannot be looked up.
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                       type == QEvent::MouseButtonRelease;
    if (!mouse && type != QEvent::KeyPress) {
        return CPropertyPage::eventFilter(watched, event);
    }
    QTreeWidget* list = List();
    if (list != nullptr && mouse && watched == list->viewport()) {
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            OnListClick();
        }
    } else if (list != nullptr && !mouse && watched == list) {
        // Enter on the list joins the highlighted network (when Connect
        // may), and never closes the sheet.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto* join = Item<QPushButton>(kConnectButton);
            if (join != nullptr && join->isEnabled()) {
                OnConnect();
            }
            return true;
        }
    }
    return CPropertyPage::eventFilter(watched, event);
}

bool CSiteSurveyPage::OnSetActive() {
    if (m_b_SearchOnActivate && m_b_ColumnsCreated) {
        m_b_SearchOnActivate = 0;
        OnSearch();
    }
    if (!m_b_ColumnsCreated) {
        m_b_ColumnsCreated = 1;
    }
    // The list of a new page window has no columns yet, whatever the flag
    // says (a sheet closed from outside leaves it set until the main frame
    // clears it).
    CreateColumns();
    return CPropertyPage::OnSetActive();
}

bool CSiteSurveyPage::OnKillActive() {
    EnableButton(kSearchButton, true);
    timer188_.stop();
    ShowSearching(false);
    return CPropertyPage::OnKillActive();
}

void CSiteSurveyPage::OnOK() {
    m_b_ColumnsCreated = 0;
    m_b_SearchOnActivate = 1;
    CPropertyPage::OnOK();
}

void CSiteSurveyPage::OnCancel() {
    m_b_ColumnsCreated = 0;
    m_b_SearchOnActivate = 1;
    CPropertyPage::OnCancel();
}

void CSiteSurveyPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : HELP_SITE_SURVEY);
}

void CSiteSurveyPage::CreateColumns() {
    QTreeWidget* list = List();
    if (list == nullptr || list->headerItem()->text(0) == QLatin1String(kColumns[0].title)) {
        return;
    }
    QStringList titles;
    for (const Column& column : kColumns) {
        titles << QString::fromLatin1(column.title);
    }
    list->setColumnCount(static_cast<int>(titles.size()));
    list->setHeaderLabels(titles);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        list->headerItem()->setTextAlignment(i, Qt::AlignLeft | Qt::AlignVCenter);
    }
    FitColumns(*list);
}

void CSiteSurveyPage::FitColumns(QTreeWidget& list) {
    // All six columns share the list's width, so that none hides beyond a
    // sideways scroll: BSSID to BSSType take what their title and their
    // widest row need, the SSID column the rest (at least its title).
    const QFontMetrics metrics(list.font());
    // Room for the vertical scroll bar only where the rows need it.
    const int rowHeight =
        list.topLevelItemCount() > 0
            ? std::max(metrics.height(), list.visualItemRect(list.topLevelItem(0)).height())
            : metrics.height();
    const bool scrolls = (list.topLevelItemCount() + 1) * rowHeight >
                         list.height() - 2 * list.frameWidth() - list.header()->height();
    const int available =
        list.width() - 2 * list.frameWidth() -
        (scrolls ? list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list) : 0);
    auto needed = [&](int column) {
        int widest = metrics.horizontalAdvance(QString::fromLatin1(kColumns[column].title));
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            widest =
                std::max(widest, metrics.horizontalAdvance(list.topLevelItem(row)->text(column)));
        }
        return widest + kColumnPadding;
    };
    int used = 0;
    for (int column = kSsidColumn + 1; column < static_cast<int>(std::size(kColumns)); ++column) {
        const int width = needed(column);
        list.header()->resizeSection(column, width);
        used += width;
    }
    // A long network name is elided in its column; its tooltip shows it
    // whole.
    const int ssidTitle =
        metrics.horizontalAdvance(QString::fromLatin1(kColumns[kSsidColumn].title)) +
        kColumnPadding;
    list.header()->resizeSection(kSsidColumn, std::max(available - used, ssidTitle));
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void CSiteSurveyPage::ShowSearching(bool searching) {
    // The scan takes its 3000 ms: the list says so and the pointer over it
    // shows work.
    QTreeWidget* list = List();
    if (list == nullptr || searching_ == nullptr) {
        return;
    }
    if (searching) {
        searching_->setGeometry(list->viewport()->rect());
        searching_->show();
        list->viewport()->setCursor(Qt::BusyCursor);
    } else {
        searching_->hide();
        list->viewport()->unsetCursor();
    }
}

void CSiteSurveyPage::EnableButton(int id, bool enabled) {
    if (auto* button = Item<QPushButton>(id)) {
        button->setEnabled(enabled);
    }
}

void CSiteSurveyPage::OnSearch() {
    if (QTreeWidget* list = List()) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
    EnableButton(kSearchButton, false);
    EnableButton(kConnectButton, false);
    {
        CAccessHandshake handshake(Context().state, Context().clock);
        Context().library.SiteSurveyTrigger();
    }
    timer188_.start();
    ShowSearching(true);
}

void CSiteSurveyPage::OnTimer() {
    timer188_.stop();
    // The timer belongs to the page window.
    if (!HasWindow()) {
        return;
    }
    ShowSearching(false);
    FillList();
    EnableButton(kSearchButton, true);
    EnableButton(kConnectButton, false);
}

void CSiteSurveyPage::FillList() {
    // Zero-filled: entries the library does not write are skipped.
    std::vector<std::uint8_t> result(TAVL_SURVEY_BUFFER_SIZE, 0);
    QTreeWidget* list = List();
    if (list != nullptr) {
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setAllColumnsShowFocus(true);
    }
    CAccessHandshake handshake(Context().state, Context().clock);
    CSurveyTable& table = SurveyTable();
    table.Clear();
    std::uint32_t size = TAVL_SURVEY_BUFFER_SIZE;
    if (Context().library.SiteSurveyGet(result.data(), &size) == 1) {
        m_n_Entries = static_cast<std::int32_t>(FillSurveyTable(result, Context().library, table));
        if (list != nullptr) {
            const QSignalBlocker blocker(list);
            list->clear();
        }
    }
    if (list == nullptr) {
        return;
    }
    const QSignalBlocker blocker(list);
    QList<QTreeWidgetItem*> items;
    items.reserve(table.Count());
    for (int i = 0; i < table.Count(); ++i) {
        auto* item = new QTreeWidgetItem(RowTexts(table.At(i)));
        item->setToolTip(kSsidColumn, item->text(kSsidColumn));
        items << item;
    }
    list->addTopLevelItems(items);
    FitColumns(*list);
}

void CSiteSurveyPage::OnListClick() {
    QTreeWidget* list = List();
    if (list == nullptr) {
        return;
    }
    int selected = -1;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected()) {
            selected = i;
            break;
        }
    }
    if (selected < 0) {
        // Nothing is highlighted any more (a click beside the rows, or the
        // keyboard's deselection): Connect would join a row the user no
        // longer sees chosen.
        if (m_n_SelectedItem >= 0) {
            EnableButton(kConnectButton, false);
        }
        return;
    }
    m_n_SelectedItem = selected;
    gSelectedSSID = list->topLevelItem(selected)->text(kSsidColumn);
    std::uint32_t zeroConfig = 0;
    Context().library.Get_XPWZC(&zeroConfig);
    EnableButton(kConnectButton, zeroConfig == 0);
}

void CSiteSurveyPage::OnConnect() {
    // The list shows the survey table's rows in table order; the selected
    // list row is joined with the values decoded for it.
    QTreeWidget* list = List();
    const CSurveyTable& table = SurveyTable();
    if (list == nullptr || list->topLevelItem(m_n_SelectedItem) == nullptr ||
        m_n_SelectedItem >= table.Count()) {
        return;
    }
    const SurveyRow row = table.At(m_n_SelectedItem);
    gSelectedSSID = SsidDisplayText(row.ssid);
    SsidText ssid{};
    ssid.length = static_cast<std::uint32_t>(std::min<std::size_t>(row.ssid.size(), TAVL_SSID_MAX));
    std::memcpy(ssid.ssid, row.ssid.data(), ssid.length);
    if (row.ssid.empty()) {
        AppMessageBox(this, QStringLiteral("Fail"));
    }
    const std::uint32_t mode = row.infrastructure ? 1 : 0;

    CardLibrary& library = Context().library;
    {
        CAccessHandshake handshake(Context().state, Context().clock);
        library.SetOperatingMode(&mode);
        // The card takes the channel from the access point in
        // infrastructure mode, so the join sets it only for ad hoc cells.
        if (mode == 0) {
            library.SetChannel(&row.channel);
        }
        library.SetSSID(&ssid);
        if (gOsClass == kOsWindows98Me) {
            // On Windows 98/Me the WEP part goes to the card again once
            // the join has settled, as the record stands then.
            SendWepPartAfter(
                library, [this] { return Context().state.reg.Get(); }, kWepAloneAfterJoinMs,
                waitWithMessages);
        }
        EnableButton(kConnectButton, false);
    }
    // The sheet may have closed while the join waited.
    if (HasWindow()) {
        Context().setActivePage(0);
    }
}
