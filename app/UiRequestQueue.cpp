#include "app/UiRequestQueue.h"

#include <QSocketNotifier>

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

UiRequestQueue::UiRequestQueue(QObject* parent)
    : QObject(parent), eventFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (eventFd_ >= 0) {
        notifier_ = new QSocketNotifier(eventFd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            std::uint64_t count = 0;
            (void)!read(eventFd_, &count, sizeof count);
            Drain();
        });
    }
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
    }
    const std::uint64_t one = 1;
    (void)!write(eventFd_, &one, sizeof one);
}

void UiRequestQueue::Drain() {
    for (;;) {
        std::function<void()> request;
        {
            std::lock_guard lock(mutex_);
            if (requests_.empty()) {
                return;
            }
            request = std::move(requests_.front());
            requests_.pop_front();
        }
        request();
    }
}
