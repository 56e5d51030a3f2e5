// CAboutPage: the "About" page. Names the product and shows the driver's
// file version, the utility's version and the card's firmware version,
// worked out again at every activation. Ctrl+Shift with the pointer at the
// page's top-left corner reports the card library file's version.
#pragma once

#include "device/OsClass.h"
#include "pages/PropertyPage.h"

#include <QString>

#include <string>

class CAboutPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CAboutPage(const PageContext& context);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    void OnCommandHelp(int context) override;

    // Sets m_DriverFileVersion from the driver file's version stamp.
    void ReadDriverVersion();
    // A mouse move over the page at `pos` (page coordinates) with
    // `modifiers` held: the hidden library version gesture.
    void OnMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);

    // Result of the last driver version read.
    std::string m_DriverFileVersion = "Unknown";
    OsVersion m_OsVersion;
    QString m_UtilityVersion;
    QString m_DriverVersion;
    QString m_FirmwareVersion;
    QString m_TitleText;
    QString m_NoticeText;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DoDataExchange(bool save);
    void ReadFirmwareVersion();
};
