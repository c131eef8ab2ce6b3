#include "device_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace platform::qt {

DeviceWatch::DeviceWatch(const char *folder, std::function<void()> changed)
    : changed_(std::move(changed)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    // A node that udev makes accessible only after creating it changes its
    // attributes then.
    if (::inotify_add_watch(fd_, folder,
                            IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO) < 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Drain(); });
}

DeviceWatch::~DeviceWatch() {
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

// Which node changed does not matter: the controller library looks itself.
void DeviceWatch::Drain() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0 && !(got < 0 && errno == EINTR))
            break;
    }
    changed_();
}

} // namespace platform::qt
