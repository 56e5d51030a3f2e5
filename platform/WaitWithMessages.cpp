#include "platform/WaitWithMessages.h"

#include <QEventLoop>
#include <QTimer>

void WaitWithMessages(std::uint32_t ms) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
}
