#pragma once
// Exec's Wait() while a window system is up: it blocks inside Qt's event
// dispatcher, so windows stay live, and returns as soon as an Exec signal is
// raised (the self-pipe behind WakeFd() becomes readable).
#include <exec/types.h>

#include <QSocketNotifier>

namespace platform::qt {

class WaitLoop {
  public:
    WaitLoop();
    ~WaitLoop();
    WaitLoop(const WaitLoop &) = delete;
    WaitLoop &operator=(const WaitLoop &) = delete;

    // Whether the program waits in Wait() right now.
    bool Waiting() const { return waiting_; }

  private:
    void WaitForSignal();

    int fd_;
    QSocketNotifier notifier_;
    bool waiting_ = false;
};

} // namespace platform::qt
