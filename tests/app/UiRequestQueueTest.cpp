// The hand-off from the polling thread: order, requests posted while a
// drained request runs a modal loop, and the wake-up without an eventfd.
#include "app/UiRequestQueue.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <thread>
#include <vector>

namespace {

// Posts 1..3 from another thread; the second runs a nested loop (as a
// message box does) that ends only once the third has run inside it.
void PostFromThreadAndDrain(UiRequestQueue& queue) {
    std::vector<int> ran;
    QEventLoop modal;
    std::thread poster([&] {
        queue.Post([&] { ran.push_back(1); });
        queue.Post([&] {
            ran.push_back(2);
            std::thread([&] {
                queue.Post([&] {
                    ran.push_back(3);
                    modal.quit();
                });
            }).join();
            QTimer::singleShot(20000, &modal, &QEventLoop::quit);
            modal.exec();
            ran.push_back(-2);
        });
    });
    poster.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 4; }, 20000));
    EXPECT_EQ((std::vector<int>{1, 2, 3, -2}), ran);
}

// With an eventfd, and without one (no descriptor left): the requests
// arrive all the same.
TEST(UiRequestQueue, RunsInOrderAndWhileAModalLoopRunsWithOrWithoutAnEventFd) {
    UiRequestQueue withEventFd;
    ASSERT_TRUE(withEventFd.WokenByEventFd());
    PostFromThreadAndDrain(withEventFd);
    UiRequestQueue withoutEventFd(nullptr, [] {
        errno = EMFILE;
        return -1;
    });
    EXPECT_FALSE(withoutEventFd.WokenByEventFd());
    PostFromThreadAndDrain(withoutEventFd);
}

} // namespace
