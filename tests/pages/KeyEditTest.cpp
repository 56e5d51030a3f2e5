#include "pages/KeyEdit.h"
#include "PageHarness.h"
#include "platform/Beep.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

namespace {

// A field of each kind the Encryption page uses.
struct Field {
    int allowAnyChar;
    int maxChars;
};
constexpr Field kHex64{0, 10};
constexpr Field kAscii64{1, 5};
constexpr Field kPassphrase{1, 127};

std::unique_ptr<CKeyEdit> MakeEdit(Field field, const QString& text = {}) {
    auto edit = std::make_unique<CKeyEdit>();
    edit->m_AllowAnyChar = field.allowAnyChar;
    edit->m_MaxChars = field.maxChars;
    edit->setText(text);
    edit->show();
    return edit;
}

// A drag that enters the field and drops `text` on it.
void Drop(QWidget* widget, const QString& text) {
    QMimeData mime;
    mime.setText(text);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
}

// One key press whose text is `text`.
void Press(QWidget* edit, const QString& text, int key = Qt::Key_unknown) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
}
void PasteKeys(QWidget* edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

// However text arrives (typed key by key, Ctrl+V, the context menu's Paste,
// a drop, or an edit that bypasses the filters), the field's rules hold.
// On a field showing a hidden key (or a text beginning with a star, which
// looks like one) any character, even one the field refuses, and Backspace
// empty it, and what follows shows in clear; editing keys and keys whose
// text is a control character (Escape gives U+001B) leave it. A paste
// replaces a hidden key, a refused one leaves it.
void PasteFromMenu(QWidget* widget, const QString& text) {
    auto* edit = static_cast<CKeyEdit*>(widget);
    QApplication::clipboard()->setText(text);
    std::unique_ptr<QMenu> menu(edit->CreateContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->text().contains(QStringLiteral("Paste"))) {
            action->trigger();
        }
    }
}
void Insert(QWidget* edit, const QString& text) {
    static_cast<QLineEdit*>(edit)->insert(text);
}

TEST(KeyEdit, ArrivingTextObeysTheFieldsRules) {
    const struct {
        void (*arrive)(QWidget*, const QString&);
        Field field;
        const char16_t* before;
        const char16_t* pasted;
        const char16_t* after;
        int beeps;
        bool masked = false;
    } cases[] = {
        // Typed into hexadecimal fields: digits in either case, nothing else.
        {TypeInto, kHex64, u"", u"0aF9", u"0aF9", 0},
        {TypeInto, kHex64, u"", u"12g 3Z-4", u"1234", 4},
        {TypeInto, kHex64, u"", u"0123456789AB", u"0123456789", 2},
        // A full field takes a character that replaces a selection.
        {[](QWidget* e, const QString& t) {
             static_cast<QLineEdit*>(e)->setSelection(2, 3);
             TypeInto(e, t);
         },
         kHex64, u"0123456789", u"F", u"01F56789", 0},
        // Typed into ASCII fields: any 8-bit character, at most the key length.
        {TypeInto, kAscii64, u"", u"a B~\u00e9", u"a B~\u00e9", 0},
        {TypeInto, kAscii64, u"", u"hello world", u"hello", 6},
        {TypeInto, kAscii64, u"", u"ab\u20acc\U0001F600", u"abc", 2},
        // Blanks between hexadecimal digits are dropped; lower case stays.
        {PasteKeys, kHex64, u"", u"3a 9c 17\te0 5b\n", u"3a9c17e05b", 0},
        {PasteKeys, kHex64, u"12", u"345", u"12345", 0},
        // One character the field refuses refuses the whole paste.
        {PasteKeys, kHex64, u"12", u"3x4", u"12", 1},
        {PasteKeys, kHex64, u"0123456789", u"A", u"0123456789", 1},
        {PasteKeys, kAscii64, u"", u"hello world", u"hello", 1},
        {PasteKeys, kAscii64, u"", u"pass\r\n", u"pass", 0},
        {PasteKeys, kAscii64, u"", u"ab\u20ac", u"", 1},
        {PasteKeys, kAscii64, u"", u"\u00e9t\u00e9", u"\u00e9t\u00e9", 0},
        {PasteKeys, kPassphrase, u"", u"\n", u"", 0},
        {PasteFromMenu, kHex64, u"", u"12 ab zz", u"", 1},
        {Drop, kHex64, u"", u"not hex", u"", -1},
        {Drop, kHex64, u"", u"3A 9C 17 E0 5B FF", u"3A9C17E05B", -1},
        {Insert, kHex64, u"12", u"zz", u"12", -1},
        {TypeInto, kHex64, u"3A9C17E05B", u"12", u"12", 0, true},
        {TypeInto, kHex64, u"3A9C17E05B", u"x", u"", 1, true},
        // Undo cannot bring a hidden key back in clear.
        {[](QWidget* e, const QString& t) {
             TypeInto(e, t);
             static_cast<QLineEdit*>(e)->undo();
             static_cast<QLineEdit*>(e)->undo();
         },
         kHex64, u"3A9C17E05B", u"1", u"", 0, true},
        {[](QWidget* e, const QString&) { QTest::keyClick(e, Qt::Key_Backspace); }, kHex64,
         u"3A9C17E05B", u"", u"", 0, true},
        {[](QWidget* e, const QString&) { QTest::keyClick(e, Qt::Key_Home); }, kHex64,
         u"3A9C17E05B", u"", u"3A9C17E05B", 0, true},
        {[](QWidget* e, const QString&) {
             Press(e, QString(QChar(0x1b)), Qt::Key_Escape);
             Press(e, QString(QChar(0x9f)));
         },
         kHex64, u"3A9C17E05B", u"", u"3A9C17E05B", 0, true},
        {TypeInto, kAscii64, u"*ab", u"a", u"a", 0},
        {PasteKeys, kHex64, u"3A9C17E05B", u"zz", u"3A9C17E05B", 1, true},
        {PasteKeys, kHex64, u"3A9C17E05B", u"0102030405", u"0102030405", 0, true},
        // A key that types several characters at once: whole or not at all.
        {[](QWidget* e, const QString& t) { Press(e, t); }, kHex64, u"123456789", u"ab",
         u"123456789", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.pasted).toStdString());
        auto edit = MakeEdit(c.field, QString::fromUtf16(c.before));
        edit->SetPasswordChar(c.masked);
        const int beepsBefore = WarningBeepCount();
        c.arrive(edit.get(), QString::fromUtf16(c.pasted));
        EXPECT_EQ(QString::fromUtf16(c.after), edit->text());
        EXPECT_EQ(c.masked && QString::fromUtf16(c.after) == QString::fromUtf16(c.before),
                  edit->HasPasswordChar());
        if (c.beeps >= 0) {
            EXPECT_EQ(c.beeps, WarningBeepCount() - beepsBefore);
        }
    }
}

} // namespace
