// CKeyEdit: the edit of a WEP key or of the passphrase, with typing rules.
//
// Key texts are 8-bit: one character is one key byte, U+0001 to U+00FF
// (Latin-1). For every typed character, before the field sees it:
//
// 1. A field that shows the password character `*`, or whose text begins
//    with `*` (a placeholder, or an ASCII key that does), is emptied first
//    and its password character removed, so what is typed shows in clear.
// 2. Unless the character is backspace: with m_MaxChars not 0, a field
//    already holding m_MaxChars characters with nothing selected refuses
//    it with the warning beep; a hexadecimal field (m_AllowAnyChar 0)
//    refuses anything but "0"-"9", "A"-"F", "a"-"f", and any field refuses
//    a character that is not a key byte, both with the warning beep.
//
// Text that arrives whole (Ctrl+V or Shift+Insert, the context menu's
// Paste, drag and drop, the middle button's selection paste, an input
// method's commit) is one insertion: a hexadecimal field drops blanks
// (spaces, tabs, line breaks) and any field drops line breaks; a remaining
// character the field refuses refuses the whole insertion with the beep
// and leaves the field as it was. Otherwise rule 1 applies, and what goes
// beyond m_MaxChars is cut off, with the beep. A validator behind all this
// keeps refused characters out on any other edit path.
#pragma once

#include <QLineEdit>

class QMenu;

class CKeyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CKeyEdit(QWidget* parent = nullptr);

    // 0: hexadecimal digits only; 1: any character.
    int m_AllowAnyChar = 0;
    // Most characters that may be typed; 0 = no limit.
    int m_MaxChars = 0;
    // The field shows a placeholder instead of its key text. Set by the
    // page that puts the placeholder in; any edit of the user's clears it,
    // so typed or pasted stars count as a key like any other text.
    bool m_ShowsPlaceholder = false;

    // Sets or removes the password character `*`.
    void SetPasswordChar(bool on);
    bool HasPasswordChar() const { return echoMode() == QLineEdit::Password; }

    // Whether `c` may stand in this field's text.
    bool AcceptsChar(QChar c) const;

    // Inserts `text` at the cursor under the rules for whole text (the
    // header above). True when something was inserted.
    bool InsertText(const QString& text);
    // Pastes the clipboard's text through InsertText.
    void PasteText();
    // The standard context menu, whose Paste goes through PasteText.
    QMenu* CreateContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Rule 1: empties a masked or `*`-starting field and unmasks it.
    void ClearMaskedText();
    // Rule 2 for the characters of `typed`; false when refused.
    bool AcceptsTyped(const QString& typed) const;
};
