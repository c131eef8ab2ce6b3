#include "wait_loop.h"

#include "exec/host_exec.h"

#include <QCoreApplication>
#include <QEvent>
#include <poll.h>

namespace platform::qt {
namespace {

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLIN | POLLHUP | POLLERR));
}

} // namespace

WaitLoop::WaitLoop() : fd_(platform::exec::WakeFd()), notifier_(fd_, QSocketNotifier::Read) {
    // Enabled only while Wait() runs: Exec reads the pipe, never the notifier,
    // and a level-triggered notifier left on would keep the dispatcher busy.
    notifier_.setEnabled(false);
    platform::exec::SetWaitHook([this](ULONG) { WaitForSignal(); });
}

WaitLoop::~WaitLoop() {
    platform::exec::SetWaitHook(nullptr);
}

void WaitLoop::WaitForSignal() {
    waiting_ = true;
    notifier_.setEnabled(true);
    // WaitForMoreEvents sleeps in the dispatcher until something happens; the
    // notifier turns a raised signal into such an event.
    while (!Readable(fd_)) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    notifier_.setEnabled(false);
    waiting_ = false;
}

} // namespace platform::qt
