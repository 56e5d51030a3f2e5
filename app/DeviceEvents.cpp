#include "app/DeviceEvents.h"

#include "app/ZeroConfigPages.h"
#include "device/CardLibrary.h"
#include "device/HostState.h"
#include "device/HostUi.h"
#include "pages/ConfigUtility.h"
#include "support/MessageChannel.h"
#include "support/Trace.h"

#include <algorithm>

CDeviceEvents::CDeviceEvents(CardLibrary& library, CConfigUtility& sheet, CZeroConfigPages& pages,
                             DeviceEventHooks hooks, QObject* parent)
    : QObject(parent), library_(library), sheet_(sheet), pages_(pages), hooks_(std::move(hooks)) {
    arrivalTimer_.setObjectName(QStringLiteral("timer7"));
    arrivalTimer_.setSingleShot(true);
    connect(&arrivalTimer_, &QTimer::timeout, this, &CDeviceEvents::OnTimer);
}

bool CDeviceEvents::AcceptsIdentifier(const std::string& identifier) {
    std::string id = identifier;
    std::transform(id.begin(), id.end(), id.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (id.find("NETWORK\\") != std::string::npos) {
        return false;
    }
    return id.find("PCI\\") != std::string::npos || id.find("PCMCIA\\") != std::string::npos ||
           id.find("USB\\") != std::string::npos;
}

bool CDeviceEvents::OnDeviceChange(std::uint32_t event, const std::string& identifier) {
    TraceOut("<M> OnDeviceChange::   ");
    switch (event) {
    case kDbtDevNodesChanged:
        OnDevNodesChanged();
        break;
    case kDbtDeviceArrival:
        OnArrival(identifier);
        break;
    case kDbtDeviceRemoveComplete:
        OnRemoveComplete(identifier);
        break;
    default:
        break;
    }
    return true;
}

void CDeviceEvents::OnDevNodesChanged() {
    if (gOsClass == kOsWindows98Me && gWinMe == 0) {
        return;
    }
    TraceOut("<M> DBT_DEVNODES_CHANGED ");
    TraceOut("<M> TAVL_Detect BY (DBT_DEVNODES_CHANGED)");
    hooks_.sleep(1000);
    if (DetectCard(library_) == 1) {
        TraceOut("<M> Detect  YES \n");
        if (!gDevicePresent) {
            gApplyConfigRequest = 1;
            gDevicePresent = 1;
            if (library_.WinXPWZC_Disabled() == 0) {
                if (sheet_.GetPageCount() >= 5) {
                    pages_.RemoveConfigPages();
                }
                gZeroConfig = 1;
            } else {
                if (gZeroConfig == 1) {
                    pages_.RestoreFivePages();
                }
                gZeroConfig = 0;
            }
        }
    } else {
        gDevicePresent = DetectCard(library_) == 1 ? 1 : 0;
        TraceOut("<M> Detect  NO \n");
    }
}

void CDeviceEvents::OnArrival(const std::string& identifier) {
    TraceOut("<M> DBT_DEVICEARRIVAL ");
    if (gOsClass == kOsWindows98Me && gSkipFirstArrival) {
        gSkipFirstArrival = 0;
        return;
    }
    if (!AcceptsIdentifier(identifier)) {
        return;
    }
    TraceOut("<M> targetid = <%s> ", "");
    TraceOut("<M> TAVL_Detect BY (DBT_DEVICEARRIVAL)");
    if (DetectCard(library_) == 1) {
        TraceOut("<M> Detect  YES \n");
        arrivalTimer_.start(kArrivalTimerMs);
        if (!gDevicePresent) {
            hooks_.modifyIcon(kTrayIconNotConnected);
            gDevicePresent = 1;
        }
    } else {
        TraceOut("<M> Detect  NO \n");
    }
}

void CDeviceEvents::OnRemoveComplete(const std::string& identifier) {
    TraceOut(" DBT_DEVICEREMOVECOMPLETE ");
    if (!AcceptsIdentifier(identifier)) {
        return;
    }
    TraceOut("<M> targetid = <%s> ", "");
    TraceOut("<M> TAVL_Detect BY (DBT_DEVICEREMOVECOMPLETE)");
    if (gResumeRequest && gOsClass == kOsWindows98Me) {
        hooks_.waitWithMessages(3000);
        gResumeRequest = 0;
        gDevicePresent = 0;
        return;
    }
    if (DetectCard(library_) != 1) {
        TraceOut(" Detect  NO \n");
        hooks_.modifyIcon(kTrayIconRemove);
        gDevicePresent = 0;
        sheet_.CloseSheet();
    } else {
        TraceOut(" Detect  YES \n");
        hooks_.modifyIcon(kTrayIconNotConnected);
        gDevicePresent = 1;
    }
}

void CDeviceEvents::OnTimer() {
    arrivalTimer_.stop();
    gDevicePresent = 1;
    gApplyConfigRequest = 1;
}

void CDeviceEvents::OnPowerBroadcast(std::uint32_t code) {
    switch (code) {
    case 0:  // query suspend
    case 6:  // resume critical
    case 18: // resume automatic
        gResumeRequest = 1;
        break;
    case 7: // resume suspend
        if (gOsClass == kOsWindows98Me && gWinMe == 1) {
            // The polling thread is not suspended here (it stops only
            // cooperatively); the two pauses stay.
            hooks_.sleep(50);
            hooks_.sleep(50);
            gDevicePresent = 1;
        }
        gResumeRequest = 1;
        break;
    default:
        break;
    }
}
