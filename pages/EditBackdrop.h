// Read-only edits whose texts change every second (Link Info) paint the
// picture behind them themselves: a new text then repaints the edit alone,
// not the group boxes, tabs and page behind it, and the picture on screen
// stays exactly what it was.
#pragma once

#include <QHash>
#include <QObject>
#include <QPixmap>

class QLineEdit;
class QWidget;

class CEditBackdrop : public QObject {
    Q_OBJECT
public:
    // Takes the read-only line edits of `body`, a page window on screen:
    // reads once what lies behind each and paints it under the edit from
    // then on. Edits already taken, and one with the keyboard focus, are
    // left as they are. Lives as long as `body`.
    static void Apply(QWidget* body);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CEditBackdrop(QWidget* body);
    void Take(QLineEdit* edit);
    void Release(QWidget* edit);

    QWidget* body_;
    QHash<QObject*, QPixmap> behind_;
};
