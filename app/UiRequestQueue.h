// The hand-off from the polling thread to the user-interface thread.
//
// The polling thread puts requests (tray icon changes, closing the sheet,
// a failure message, the page-set check) on a small queue of our own and
// wakes the main thread through an eventfd watched by a QSocketNotifier;
// the main thread drains the queue in order. Posting never blocks on the
// main thread. Where no eventfd can be had (no descriptor left), a short
// timer on the main thread looks for requests instead.
#pragma once

#include <QObject>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

class QSocketNotifier;
class QTimer;

class UiRequestQueue : public QObject {
    Q_OBJECT
public:
    // `makeEventFd` creates the wake-up descriptor (-1 with errno when it
    // cannot); tests pass one that fails.
    using EventFdMaker = int (*)();
    static int MakeEventFd();
    explicit UiRequestQueue(QObject* parent = nullptr, EventFdMaker makeEventFd = MakeEventFd);
    ~UiRequestQueue() override;

    // Any thread: queues `request` for the main thread.
    void Post(std::function<void()> request);
    // Main thread: runs every queued request (also called by the notifier).
    // A request may run a nested event loop (a message box); requests
    // posted meanwhile are drained inside it, in order.
    void Drain();
    // Whether the queue is woken by its eventfd (else by the timer).
    bool WokenByEventFd() const { return eventFd_ >= 0; }

private:
    std::mutex mutex_;
    std::deque<std::function<void()>> requests_;
    std::atomic<bool> pending_{false};
    int eventFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* poll_ = nullptr;
};
