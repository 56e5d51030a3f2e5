#include "app/UiRequestQueue.h"

#include "support/Trace.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// How often the fallback timer looks for requests.
constexpr int kPollMs = 50;

} // namespace

int UiRequestQueue::MakeEventFd() {
    return eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

UiRequestQueue::UiRequestQueue(QObject* parent, EventFdMaker makeEventFd)
    : QObject(parent), eventFd_(makeEventFd()) {
    if (eventFd_ >= 0) {
        notifier_ = new QSocketNotifier(eventFd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            std::uint64_t count = 0;
            (void)!read(eventFd_, &count, sizeof count);
            Drain();
        });
        return;
    }
    TraceOut("<M> No eventfd (%s): requests are looked for every %d ms", std::strerror(errno),
             kPollMs);
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    // The drain runs after the timer's own handler has returned, so the
    // timer keeps firing inside a modal loop that a request runs.
    connect(poll_, &QTimer::timeout, this, [this] {
        if (pending_.load()) {
            QMetaObject::invokeMethod(this, &UiRequestQueue::Drain, Qt::QueuedConnection);
        }
    });
    poll_->start();
}

UiRequestQueue::~UiRequestQueue() {
    if (eventFd_ >= 0) {
        close(eventFd_);
    }
}

void UiRequestQueue::Post(std::function<void()> request) {
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
        pending_ = true;
    }
    if (eventFd_ >= 0) {
        const std::uint64_t one = 1;
        (void)!write(eventFd_, &one, sizeof one);
    }
}

void UiRequestQueue::Drain() {
    for (;;) {
        std::function<void()> request;
        {
            std::lock_guard lock(mutex_);
            if (requests_.empty()) {
                pending_ = false;
                return;
            }
            request = std::move(requests_.front());
            requests_.pop_front();
        }
        request();
    }
}
