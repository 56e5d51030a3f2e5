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
#include <string_view>

namespace {

// A field of each kind the Encryption page uses.
struct Field {
    int allowAnyChar;
    int maxChars;
};
constexpr Field kHex64{0, 10};
constexpr Field kHex128{0, 26};
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

class BeepCounter {
public:
    int Beeps() const { return WarningBeepCount() - start_; }

private:
    int start_ = WarningBeepCount();
};

TEST(KeyEdit, AFullFieldAcceptsACharacterThatReplacesASelection) {
    auto edit = MakeEdit(kHex64, QStringLiteral("0123456789"));
    const BeepCounter beeps;
    edit->setSelection(2, 3);
    TypeInto(edit.get(), QStringLiteral("F"));
    EXPECT_EQ(QStringLiteral("01F56789"), edit->text());
    EXPECT_EQ(0, beeps.Beeps());
}

// What the first key does to a field showing a hidden key (or a text
// beginning with a star, which looks like one): any character, even one the
// field refuses, and Backspace empty it, and what follows shows in clear;
// editing keys leave it.
TEST(KeyEdit, TheFirstKeyOnAHiddenKey) {
    const struct {
        Field field;
        const char* text;
        bool masked;
        void (*key)(CKeyEdit*);
        const char* after;
        int beeps;
    } cases[] = {
        {kHex64, "3A9C17E05B", true, [](CKeyEdit* e) { TypeInto(e, QStringLiteral("12")); }, "12",
         0},
        {kHex64, "3A9C17E05B", true, [](CKeyEdit* e) { TypeInto(e, QStringLiteral("x")); }, "", 1},
        {kHex64, "3A9C17E05B", true, [](CKeyEdit* e) { QTest::keyClick(e, Qt::Key_Backspace); }, "",
         0},
        {kHex64, "3A9C17E05B", true, [](CKeyEdit* e) { QTest::keyClick(e, Qt::Key_Home); },
         "3A9C17E05B", 0},
        {kAscii64, "*****", false, [](CKeyEdit* e) { TypeInto(e, QStringLiteral("a")); }, "a", 0},
        {kAscii64, "*ab", false, [](CKeyEdit* e) { TypeInto(e, QStringLiteral("a")); }, "a", 0},
    };
    for (const auto& c : cases) {
        auto edit = MakeEdit(c.field, QString::fromLatin1(c.text));
        edit->SetPasswordChar(c.masked);
        const BeepCounter beeps;
        c.key(edit.get());
        EXPECT_EQ(QString::fromLatin1(c.after), edit->text()) << c.text;
        EXPECT_EQ(c.after == std::string_view(c.text) && c.masked, edit->HasPasswordChar());
        EXPECT_EQ(c.beeps, beeps.Beeps()) << c.text;
    }
}

TEST(KeyEdit, UndoCannotBringAHiddenKeyBackInClear) {
    auto edit = MakeEdit(kHex64, QStringLiteral("3A9C17E05B"));
    edit->SetPasswordChar(true);
    TypeInto(edit.get(), QStringLiteral("1"));
    edit->undo();
    edit->undo();
    EXPECT_FALSE(edit->text().contains(QStringLiteral("3A9C")));
}

// However text arrives (typed key by key, Ctrl+V, the context menu's Paste,
// a drop, or an edit that bypasses the filters), the field's rules hold.
void PasteKeys(QWidget* edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}
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
    } cases[] = {
        // Typed into hexadecimal fields: digits in either case, nothing else.
        {TypeInto, kHex64, u"", u"0aF9", u"0aF9", 0},
        {TypeInto, kHex64, u"", u"12g 3Z-4", u"1234", 4},
        {TypeInto, kHex64, u"", u"0123456789AB", u"0123456789", 2},
        {TypeInto, kHex128, u"", u"7D20E8B4C19F6A5D03E7B28C41FF", u"7D20E8B4C19F6A5D03E7B28C41", 2},
        // Typed into ASCII fields: any 8-bit character, at most the key length.
        {TypeInto, kAscii64, u"", u"a B~\u00e9", u"a B~\u00e9", 0},
        {TypeInto, kAscii64, u"", u"hello world", u"hello", 6},
        {TypeInto, kAscii64, u"", u"ab\u20acc\U0001F600", u"abc", 2},
        {TypeInto, kPassphrase, u"", u"p@ss W\u00f6rd!", u"p@ss W\u00f6rd!", 0},
        // Blanks between hexadecimal digits are dropped; lower case stays.
        {PasteKeys, kHex64, u"", u"3a 9c 17\te0 5b\n", u"3a9c17e05b", 0},
        {PasteKeys, kHex64, u"", u"123456789", u"123456789", 0},
        {PasteKeys, kHex128, u"", u"7D20E8B4C19F6A5D03E7B28C41F", u"7D20E8B4C19F6A5D03E7B28C41", 1},
        {PasteKeys, kHex64, u"12", u"345", u"12345", 0},
        // One character the field refuses refuses the whole paste.
        {PasteKeys, kHex64, u"12", u"3x4", u"12", 1},
        {PasteKeys, kHex64, u"12", u"0x34", u"12", 1},
        {PasteKeys, kHex64, u"0123456789", u"A", u"0123456789", 1},
        {PasteKeys, kAscii64, u"", u"hello world", u"hello", 1},
        {PasteKeys, kAscii64, u"", u"pass\r\n", u"pass", 0},
        {PasteKeys, kAscii64, u"", u"ab\u20ac", u"", 1},
        {PasteKeys, kAscii64, u"", u"\u00e9t\u00e9", u"\u00e9t\u00e9", 0},
        {PasteKeys, kPassphrase, u"", u"\n", u"", 0},
        {PasteFromMenu, kHex64, u"", u"12 ab zz", u"", 1},
        {PasteFromMenu, kHex64, u"", u"12 ab 34 cd 56 ef", u"12ab34cd56", 1},
        {Drop, kHex64, u"", u"not hex", u"", -1},
        {Drop, kHex64, u"", u"3A 9C 17 E0 5B FF", u"3A9C17E05B", -1},
        {Drop, kAscii64, u"", u"\u263a", u"", -1},
        {Insert, kHex64, u"12", u"zz", u"12", -1},
        {Insert, kAscii64, u"ab", u"\u20ac", u"ab", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.pasted).toStdString());
        auto edit = MakeEdit(c.field, QString::fromUtf16(c.before));
        const BeepCounter beeps;
        c.arrive(edit.get(), QString::fromUtf16(c.pasted));
        EXPECT_EQ(QString::fromUtf16(c.after), edit->text());
        if (c.beeps >= 0) {
            EXPECT_EQ(c.beeps, beeps.Beeps());
        }
    }
}

TEST(KeyEdit, APasteReplacesAMaskedKeyButARefusedOneLeavesIt) {
    auto edit = MakeEdit(kHex64, QStringLiteral("3A9C17E05B"));
    edit->SetPasswordChar(true);
    PasteKeys(edit.get(), QStringLiteral("zz"));
    EXPECT_EQ(QStringLiteral("3A9C17E05B"), edit->text());
    EXPECT_TRUE(edit->HasPasswordChar());
    PasteKeys(edit.get(), QStringLiteral("0102030405"));
    EXPECT_EQ(QStringLiteral("0102030405"), edit->text());
    EXPECT_FALSE(edit->HasPasswordChar());
}

// Keys whose text is a control character (Escape gives U+001B) do not type,
// so a masked key stays. A key that types several characters at once goes
// in whole or not at all.
TEST(KeyEdit, ControlTextDoesNotTypeAndSeveralCharactersMustFitWhole) {
    auto masked = MakeEdit(kHex64, QStringLiteral("3A9C17E05B"));
    masked->SetPasswordChar(true);
    for (const auto& [key, c] : {std::pair{Qt::Key_Escape, u'\x1b'}, {Qt::Key_unknown, u'\x9f'}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(masked.get(), &press);
    }
    EXPECT_EQ(QStringLiteral("3A9C17E05B"), masked->text());
    EXPECT_TRUE(masked->HasPasswordChar());

    auto edit = MakeEdit(kHex64, QStringLiteral("123456789"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ab"));
    QApplication::sendEvent(edit.get(), &press);
    EXPECT_EQ(QStringLiteral("123456789"), edit->text());
}

} // namespace
