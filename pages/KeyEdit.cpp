#include "pages/KeyEdit.h"

#include "platform/Beep.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QValidator>

#include <optional>

namespace {

bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool IsLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Control characters (C0, DEL and C1) come from editing keys, never from
// typing a character.
bool IsControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// The text of a key press that types characters: not empty, no control
// character, no Ctrl or Meta shortcut.
bool IsTypedText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty() || (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        return false;
    }
    for (QChar c : text) {
        if (IsControl(c)) {
            return false;
        }
    }
    return true;
}

// Keeps characters the field refuses out of its text on every edit path the
// field does not filter itself. Text the page puts in with setText is not
// validated.
class KeyTextValidator final : public QValidator {
public:
    explicit KeyTextValidator(CKeyEdit* edit) : QValidator(edit), edit_(*edit) {}

    State validate(QString& input, int&) const override {
        for (QChar c : input) {
            if (!edit_.AcceptsChar(c)) {
                return Invalid;
            }
        }
        return Acceptable;
    }

private:
    const CKeyEdit& edit_;
};

} // namespace

CKeyEdit::CKeyEdit(QWidget* parent) : QLineEdit(parent) {
    // The password character is `*`, whatever the style's own.
    setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    setValidator(new KeyTextValidator(this));
    connect(this, &QLineEdit::textEdited, this, [this] { m_ShowsPlaceholder = false; });
}

void CKeyEdit::SetPasswordChar(bool on) {
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
}

bool CKeyEdit::AcceptsChar(QChar c) const {
    const char16_t u = c.unicode();
    if (m_AllowAnyChar == 0) {
        return IsHexDigit(u);
    }
    return u >= 0x01 && u <= 0xFF;
}

void CKeyEdit::ClearMaskedText() {
    const bool masked = HasPasswordChar();
    if (!masked && !text().startsWith(u'*')) {
        return;
    }
    if (masked) {
        SetPasswordChar(false);
    }
    if (!text().isEmpty()) {
        // setText also drops the undo history, so an undo cannot bring the
        // hidden text back in clear.
        setText(QString());
        emit textEdited(QString());
    }
}

bool CKeyEdit::AcceptsTyped(const QString& typed) const {
    const qsizetype length = text().size();
    if (m_MaxChars != 0 && length >= m_MaxChars && !hasSelectedText()) {
        return false;
    }
    for (QChar c : typed) {
        if (!AcceptsChar(c)) {
            return false;
        }
    }
    // A key that types several characters at once must fit as a whole.
    return m_MaxChars == 0 || typed.size() == 1 ||
           length - selectedText().size() + typed.size() <= m_MaxChars;
}

void CKeyEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteText();
        event->accept();
        return;
    }
    const bool backspace = event->key() == Qt::Key_Backspace;
    if (!backspace && !IsTypedText(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    ClearMaskedText();
    if (!backspace && !AcceptsTyped(event->text())) {
        WarningBeep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool CKeyEdit::InsertText(const QString& inserted) {
    if (isReadOnly() || inserted.isEmpty()) {
        return false;
    }
    QString clean;
    clean.reserve(inserted.size());
    for (QChar c : inserted) {
        if (IsLineBreak(c) || (m_AllowAnyChar == 0 && c.isSpace())) {
            continue;
        }
        if (!AcceptsChar(c)) {
            WarningBeep();
            return false;
        }
        clean += c;
    }
    if (clean.isEmpty()) {
        return false;
    }
    ClearMaskedText();
    if (m_MaxChars != 0) {
        const qsizetype room = m_MaxChars - (text().size() - selectedText().size());
        if (room <= 0) {
            WarningBeep();
            return false;
        }
        if (clean.size() > room) {
            clean.truncate(room);
            WarningBeep();
        }
    }
    insert(clean);
    return true;
}

void CKeyEdit::PasteText() {
    InsertText(QGuiApplication::clipboard()->text());
}

QMenu* CKeyEdit::CreateContextMenu() {
    QMenu* menu = createStandardContextMenu();
    // The standard Paste is connected by name or by pointer, depending on
    // the Qt release: take it over either way.
    for (QAction* action : menu->actions()) {
        const bool byName = disconnect(action, SIGNAL(triggered()), this, SLOT(paste()));
        const bool byPointer = disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
        if (byName || byPointer) {
            connect(action, &QAction::triggered, this, &CKeyEdit::PasteText);
        }
    }
    return menu;
}

void CKeyEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CKeyEdit::dropEvent(QDropEvent* event) {
    // Moving a part of the field's own text keeps its characters and its
    // length.
    if (event->source() == this && event->dropAction() == Qt::MoveAction) {
        QLineEdit::dropEvent(event);
        return;
    }
    // Ends the drop cursor as a finished drop does.
    QDragLeaveEvent leave;
    QLineEdit::dragLeaveEvent(&leave);
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    InsertText(event->mimeData()->text());
    // The source keeps its text: what arrived may have been cut short.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CKeyEdit::mouseReleaseEvent(QMouseEvent* event) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        deselect();
        InsertText(clipboard->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CKeyEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preedit);
    InsertText(commit);
    event->accept();
}
