#pragma once
// Tells when device nodes come, go or change their permissions in a folder
// (inotify, read through Qt's event loop): no polling, no wake-up while
// nothing changes. Without the folder, or without inotify, it tells nothing.
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace platform::qt {

class DeviceWatch {
  public:
    DeviceWatch(const char *folder, std::function<void()> changed);
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch &) = delete;
    DeviceWatch &operator=(const DeviceWatch &) = delete;

  private:
    void Drain();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> changed_;
};

} // namespace platform::qt
