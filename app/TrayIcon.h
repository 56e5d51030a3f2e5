// CTrayIcon: the notification-area icon, present only while the card is
// detected: 186 a monitor with a green screen (connected), 187 the same
// with a red screen (not connected). Its double click opens the sheet; its
// context request offers "Show Config Utility" or "Hide Config Utility",
// a separator, and "Exit".
#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

class QMenu;

// Menu commands of the tray.
inline constexpr int ID_HIDE_UTILITY = 2001;
inline constexpr int ID_SHOW_UTILITY = 2002;
inline constexpr int ID_APP_EXIT = 2004;

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    // `onCommand` runs a menu command; `onDoubleClick` the left double click.
    CTrayIcon(std::function<void(int)> onCommand, std::function<void()> onDoubleClick,
              QObject* parent = nullptr);
    ~CTrayIcon() override;

    // 186 or 187: shows or changes the icon; 207: removes it and closes the
    // sheet (through `closeSheet`). Returns what the shell would answer.
    bool ModifyIconAtTaskbar(int iconId, const std::function<void()>& closeSheet);
    // Deletes the icon; true when it was accepted.
    bool RemoveIconFromTaskbar();

    bool IconShown() const { return iconShown_; }
    int CurrentIcon() const { return currentIcon_; }
    QSystemTrayIcon& Icon() { return icon_; }

    // The context menu as the right button shows it: entries by command id
    // (0 for the separator), for the current state of the card and sheet.
    QMenu* BuildMenu();
    // The tray callback: a double click or a context request.
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    // The tip: the application title, and while connected the network's
    // name and signal (`percent` as the Link Info page shows it).
    void SetLinkTip(const QString& ssid, int percent);
    void SetFixedTip();
    static QString LinkTipText(const QString& ssid, int percent);

    // The picture of icon 186 or 187.
    static QIcon IconImage(int iconId);

private:
    std::function<void(int)> onCommand_;
    std::function<void()> onDoubleClick_;
    QSystemTrayIcon icon_;
    bool iconShown_ = false;
    int currentIcon_ = 0;
};
