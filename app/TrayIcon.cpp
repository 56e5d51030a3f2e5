#include "app/TrayIcon.h"

#include "device/HostState.h"
#include "device/HostUi.h"
#include "res/Strings.h"
#include "support/Trace.h"

#include <QCursor>
#include <QImageReader>
#include <QMenu>
#include <QPixmap>

CTrayIcon::CTrayIcon(std::function<void(int)> onCommand, std::function<void()> onDoubleClick,
                     QObject* parent)
    : QObject(parent), onCommand_(std::move(onCommand)), onDoubleClick_(std::move(onDoubleClick)) {
    SetFixedTip();
    connect(&icon_, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
}

CTrayIcon::~CTrayIcon() = default;

QString CTrayIcon::LinkTipText(const QString& ssid, int percent) {
    return QStringLiteral("%1\n%2 (%3%)").arg(QString::fromLatin1(kAppTitle), ssid).arg(percent);
}

void CTrayIcon::SetLinkTip(const QString& ssid, int percent) {
    icon_.setToolTip(LinkTipText(ssid, percent));
}

void CTrayIcon::SetFixedTip() {
    icon_.setToolTip(QString::fromLatin1(kAppTitle));
}

QIcon CTrayIcon::IconImage(int iconId) {
    // Read as PNG by name: left to guess the format, the image reader would
    // load every image-format plugin there is just to look at the files.
    QIcon icon;
    // Art at every size a scale of 1, 1.5, 2 or 3 asks for: the icon is
    // never scaled by a fraction, which would blur its pixels.
    for (const char* size : {"16", "24", "32", "48", "64", "96"}) {
        QImageReader reader(
            QStringLiteral(":/icons/%1-%2.png").arg(iconId).arg(QLatin1String(size)), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

bool CTrayIcon::ModifyIconAtTaskbar(int iconId, const std::function<void()>& closeSheet) {
    if (iconId == kTrayIconRemove) {
        if (iconShown_) {
            TraceOut(" <ModifyIconAtTaskbar>:Remove ICON ");
            iconShown_ = false;
            RemoveIconFromTaskbar();
            closeSheet();
        }
        return true;
    }
    if (iconShown_) {
        // The polling thread reports the status every cycle; an icon that
        // does not change is not handed to the shell again.
        if (iconId == currentIcon_) {
            return true;
        }
        const QIcon image = IconImage(iconId);
        if (image.isNull()) {
            return true;
        }
        currentIcon_ = iconId;
        icon_.setIcon(image);
        return true;
    }
    TraceOut(" <ModifyIconAtTaskbar>:Add ICON ");
    iconShown_ = true;
    currentIcon_ = iconId;
    icon_.setIcon(IconImage(iconId));
    icon_.show();
    return true;
}

bool CTrayIcon::RemoveIconFromTaskbar() {
    TraceOut("<RemoveIconFromTaskbar>");
    icon_.hide();
    currentIcon_ = 0;
    return true;
}

QMenu* CTrayIcon::BuildMenu() {
    auto* menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto add = [&](int id, int text) {
        QAction* action = menu->addAction(QString::fromLatin1(ResString(text)));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { onCommand_(id); });
    };
    if (gDevicePresent == 1) {
        if (gSheetOpen) {
            add(ID_HIDE_UTILITY, IDS_HIDE_UTILITY);
        } else {
            add(ID_SHOW_UTILITY, IDS_SHOW_UTILITY);
        }
        menu->addSeparator()->setData(0);
    }
    add(ID_APP_EXIT, IDS_EXIT);
    return menu;
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        onDoubleClick_();
        break;
    case QSystemTrayIcon::Context:
        BuildMenu()->popup(QCursor::pos());
        break;
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
}
