#pragma once
// Game controllers through SDL's game-controller subsystem (no SDL video, no
// SDL window): their buttons act in the active toolkit window as keys do
// (pad_actions.h). The view starts it when a window opens, so a controller
// already attached is found at once. Controllers plugged in or out later are
// noticed through /dev/input's changes. SDL's events are read on a timer only
// while a controller is attached and a window of the program's has the focus:
// without a controller, or while another program (the emulator) is used,
// nothing wakes the program; what a controller did meanwhile is dropped.
// Where SDL cannot start there simply is no controller.
#include "device_watch.h"

#include <QTimer>

#include <map>
#include <memory>
#include <optional>

struct _SDL_GameController;
union SDL_Event;

namespace platform::qt {

enum class PadAction;

class GameControllers {
  public:
    GameControllers();
    ~GameControllers();
    GameControllers(const GameControllers &) = delete;
    GameControllers &operator=(const GameControllers &) = delete;

    // Reads SDL's events now, as after a device change; returns how many
    // controllers are in use.
    int LookNow();

  private:
    void Pump();
    void FocusChanged();
    void Act(PadAction action);
    void Handle(const SDL_Event &event);
    void Press(unsigned char button); // A, B or Start
    void DeviceChanged();
    void Open(int deviceIndex);
    void Steer(unsigned dpad, unsigned stick);
    void Repeat();

    bool started_ = false;
    std::map<int, _SDL_GameController *> pads_; // by SDL's instance id
    std::unique_ptr<DeviceWatch> watch_;
    QTimer pump_;   // while a controller is attached and the program has the focus
    QTimer settle_; // a little while after a device change
    QTimer repeat_; // while Up or Down is held
    int settleTicks_ = 0;
    bool focused_ = false;          // a window of the program's has the focus
    bool quiet_ = false;            // while what came during another's turn is dropped
    unsigned dpad_ = 0, stick_ = 0; // the directions held on each
};

// The view's controllers look now (tests attach virtual controllers, which
// no device folder shows); the number in use, 0 while no window is open.
int LookForControllers();

} // namespace platform::qt
