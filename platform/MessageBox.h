// Message boxes go through one service, so tests can answer them.
#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Exclamation };

// Results, with the classic values.
inline constexpr int IDOK = 1;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows a modal message box and returns IDOK, IDYES or IDNO.
    virtual int Show(QWidget* owner, const QString& text, const QString& caption,
                     MsgButtons buttons, MsgIcon icon) = 0;
};

// The service in use; a QMessageBox-based one unless a test set another.
MessageBoxService& MessageBoxes();
// Replaces the service (nullptr restores the real one).
void SetMessageBoxService(MessageBoxService* service);

// A message box with the application's title as caption.
int AppMessageBox(QWidget* owner, const QString& text, MsgButtons buttons = MsgButtons::Ok,
                  MsgIcon icon = MsgIcon::None);

// The message box the real service shows, built but not shown.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text,
                                            const QString& caption, MsgButtons buttons,
                                            MsgIcon icon);
// The least width of a message box whose title bar shows `caption` whole.
int MessageBoxWidthForTitle(const QString& caption);
