#include "pages/AboutPage.h"

#include "device/AccessHandshake.h"
#include "device/CardLibrary.h"
#include "device/Records.h"
#include "platform/FileVersion.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/ModulePath.h"
#include "platform/OsVersionSource.h"
#include "res/ControlIds.h"
#include "res/Strings.h"
#include "res/Templates.h"
#include "support/Trace.h"

#include <QLabel>
#include <QMouseEvent>

#include <cstring>

namespace {

using namespace AboutControls;

// The utility's own version, the same as its executable's version stamp.
constexpr int kUtilityVersion[4] = {3, 0, 6, 262};

// At most this many firmware reads, 3 ms apart.
constexpr int kFirmwareReads = 4;
constexpr std::uint32_t kFirmwareReadPauseMs = 3;

// The folder the card library gives the driver's path relative to: the
// root of the file system.
constexpr const char* kSystemDirectory = "/";
// The card library file, beside the utility's executable.
constexpr const char* kLibraryFileName = "libtavl3.so";
// Shown by the gesture when the library file carries no version stamp.
constexpr const char* kNoVersionText = "Unknown";

// The driver service whose version the page reports, by system.
const char* DriverServiceName(const OsVersion& version) {
    switch (version.platform) {
    case OsPlatform::WindowsNt:
        return version.major == 5 ? "RVXNDIS5" : "RVXNDIS4";
    case OsPlatform::Win32s:
    case OsPlatform::Windows9x:
    case OsPlatform::Other:
        break;
    }
    return "RVXNDIS3";
}

// `folder` + "/" + `relative`, with runs of "/" made single.
std::string JoinPath(const std::string& folder, const char* relative) {
    const std::string joined = folder + "/" + relative;
    std::string path;
    path.reserve(joined.size());
    for (char c : joined) {
        if (c != '/' || path.empty() || path.back() != '/') {
            path += c;
        }
    }
    return path;
}

} // namespace

CAboutPage::CAboutPage(const PageContext& context) : CPropertyPage(kAboutTemplate, context) {}

bool CAboutPage::OnInitDialog() {
    // Mouse moves reach the page without a button held.
    if (QWidget* body = Body()) {
        body->setMouseTracking(true);
        body->installEventFilter(this);
    }
    return true;
}

bool CAboutPage::OnSetActive() {
    m_TitleText = QString::fromLatin1(kAppTitle);
    m_NoticeText = QString::fromLatin1(ResString(IDS_ABOUT_NOTICE));
    ReadFirmwareVersion();

    m_OsVersion = CurrentOsVersion();
    TraceOut("Retrieve the Driver version from %s", DriverServiceName(m_OsVersion));
    ReadDriverVersion();
    m_DriverVersion = QString::fromStdString(m_DriverFileVersion);

    m_UtilityVersion = QStringLiteral("%1.%2.%3.%4")
                           .arg(kUtilityVersion[0])
                           .arg(kUtilityVersion[1])
                           .arg(kUtilityVersion[2])
                           .arg(kUtilityVersion[3]);
    DoDataExchange(false);
    return CPropertyPage::OnSetActive();
}

void CAboutPage::ReadFirmwareVersion() {
    CAccessHandshake handshake(Context().state, Context().clock);
    HostInfo host{};
    std::uint32_t mask = 0;
    for (int read = 0; read < kFirmwareReads; ++read) {
        mask = TAVL_MASK_FIRMWARE_VERSION;
        Context().library.GetWLANConfig(&mask, &host);
        Context().clock.Sleep(kFirmwareReadPauseMs);
        if (mask == 0) {
            break;
        }
    }
    if (mask == 0) {
        const std::string_view firmware = FieldText(host.firmwareVersion);
        m_FirmwareVersion =
            QString::fromLatin1(firmware.data(), static_cast<qsizetype>(firmware.size()));
    } else {
        m_FirmwareVersion = QStringLiteral("---");
    }
}

void CAboutPage::ReadDriverVersion() {
    char path[TAVL_PATH_BUFFER_SIZE] = {};
    std::strncpy(path, kSystemDirectory, sizeof path - 1);
    const std::string folder = path;
    TraceOut("TAVL_GetWLANDriverPath: %s\n", path);
    if (Context().library.GetWLANDriverPath(path) != 1) {
        m_DriverFileVersion.clear();
        return;
    }
    // The library writes at most the buffer; make sure the text ends in it.
    path[sizeof path - 1] = '\0';
    TraceOut("After TAVL_GetWLANDriverPath: [%s]\n", path);
    const std::string file = JoinPath(folder, path);
    TraceOut("GetFileVersion: [%s]\n", file.c_str());
    GetFileVersionText(file, m_DriverFileVersion);
}

void CAboutPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : HELP_ABOUT);
}

bool CAboutPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched == Body()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        OnMouseMove(move->modifiers(), move->position().toPoint());
    }
    return CPropertyPage::eventFilter(watched, event);
}

void CAboutPage::OnMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos) {
    const bool bothHeld =
        modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::ShiftModifier);
    if (!bothHeld || pos.x() > 3 || pos.y() > 3) {
        return;
    }
    std::string version = kNoVersionText;
    GetFileVersionText(JoinPath(ModuleDirectory(), kLibraryFileName), version);
    AppMessageBox(
        this, QStringLiteral("versoin of TAVL3.DLL is %1").arg(QString::fromStdString(version)));
}

void CAboutPage::DoDataExchange(bool save) {
    const struct {
        int id;
        QString* text;
    } fields[] = {
        {kUtilityVersionLabel, &m_UtilityVersion},
        {kDriverVersionLabel, &m_DriverVersion},
        {kFirmwareVersionLabel, &m_FirmwareVersion},
        {kTitleLabel, &m_TitleText},
        {kNoticeLabel, &m_NoticeText},
    };
    for (const auto& field : fields) {
        if (auto* label = Item<QLabel>(field.id)) {
            if (save) {
                *field.text = label->text();
            } else {
                label->setText(*field.text);
            }
        }
    }
}
