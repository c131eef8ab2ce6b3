#include "game_controllers.h"

#include "pad_actions.h"

#include <QGuiApplication>
#include <QWindow>
#include <SDL.h>

#include <span>

namespace platform::qt {
namespace {

constexpr int kPumpMs = 20;         // how often an attached controller is read
constexpr int kRepeatDelayMs = 400; // a held direction repeats after this,
constexpr int kRepeatMs = 80;       // then this often
constexpr int kSettleMs = 200;      // after a device change SDL may learn of it
constexpr int kSettleTicks = 10;    // a little later (from udev): read this often, this long
constexpr Sint16 kStickPressed = 16000, kStickReleased = 10000; // with hysteresis

// Directions held, as bits: on the D-pad, on the left stick.
enum : unsigned { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };

std::optional<PadAction> DirectionOf(unsigned held) {
    for (auto [bit, action] : {std::pair{kUp, PadAction::Up},
                               {kDown, PadAction::Down},
                               {kLeft, PadAction::Left},
                               {kRight, PadAction::Right}})
        if (held & bit)
            return action;
    return std::nullopt;
}

unsigned DpadBit(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return kUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return kDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return kLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return kRight;
    default:
        return 0;
    }
}

// One axis of the stick: past the press point it holds its direction, back
// inside the release point it lets go; in between it stays as it was.
unsigned StickAxis(unsigned held, Sint16 value, unsigned negative, unsigned positive) {
    if (value <= -kStickPressed)
        held |= negative;
    else if (value > -kStickReleased)
        held &= ~negative;
    if (value >= kStickPressed)
        held |= positive;
    else if (value < kStickReleased)
        held &= ~positive;
    return held;
}

} // namespace

GameControllers::GameControllers() {
    // The platform handles SIGINT and SIGTERM itself. The kernel's drivers
    // serve every controller through /dev/input, which is watched; SDL's own
    // USB drivers would open other nodes (an environment variable of SDL's
    // still overrides these).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1"); // the view decides
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return;
    started_ = true;
    pump_.callOnTimeout([this] { Pump(); });
    settle_.callOnTimeout([this] {
        Pump();
        if (--settleTicks_ <= 0)
            settle_.stop();
    });
    repeat_.setSingleShot(true);
    repeat_.callOnTimeout([this] { Repeat(); });
    focused_ = QGuiApplication::focusWindow() != nullptr;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &pump_,
                     [this] { FocusChanged(); });
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        Open(i);
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1); // what came before is past
    if (!pads_.empty() && focused_)
        pump_.start(kPumpMs);
    watch_ = std::make_unique<DeviceWatch>("/dev/input", [this] { DeviceChanged(); });
}

GameControllers::~GameControllers() {
    watch_.reset();
    for (auto &[instance, pad] : pads_)
        SDL_GameControllerClose(pad);
    if (started_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int GameControllers::LookNow() {
    if (started_)
        Pump();
    return static_cast<int>(pads_.size());
}

void GameControllers::Open(int deviceIndex) {
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (!SDL_IsGameController(deviceIndex) || pads_.count(instance))
        return;
    if (SDL_GameController *pad = SDL_GameControllerOpen(deviceIndex))
        pads_[instance] = pad;
}

// SDL learns of a device itself (through inotify or udev); udev may tell it a
// moment after the node changed.
void GameControllers::DeviceChanged() {
    Pump();
    settleTicks_ = kSettleTicks;
    settle_.start(kSettleMs);
}

void GameControllers::Pump() {
    SDL_PumpEvents();
    SDL_Event events[16];
    int count;
    while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
        for (const SDL_Event &event : std::span(events, count))
            Handle(event);
    if (pads_.empty() || !focused_)
        pump_.stop();
    else if (!pump_.isActive())
        pump_.start(kPumpMs);
}

// Back from another program, the controller's events from meanwhile are read
// and dropped; away, it is not read at all (a device change still is).
void GameControllers::FocusChanged() {
    const bool focused = QGuiApplication::focusWindow() != nullptr;
    if (focused == focused_)
        return;
    focused_ = focused;
    quiet_ = true;
    Pump();
    quiet_ = false;
    if (!focused)
        Steer(0, 0);
}

void GameControllers::Act(PadAction action) {
    if (!quiet_)
        PerformPadAction(action);
}

void GameControllers::Handle(const SDL_Event &event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (auto it = pads_.find(event.cdevice.which); it != pads_.end()) {
            SDL_GameControllerClose(it->second);
            pads_.erase(it);
            Steer(0, 0);
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (const unsigned bit = DpadBit(event.cbutton.button))
            Steer(event.cbutton.state ? dpad_ | bit : dpad_ & ~bit, stick_);
        else if (event.cbutton.state)
            Press(event.cbutton.button);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            Steer(dpad_, StickAxis(stick_, event.caxis.value, kUp, kDown));
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            Steer(dpad_, StickAxis(stick_, event.caxis.value, kLeft, kRight));
        break;
    default:
        break;
    }
}

void GameControllers::Press(unsigned char button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return Act(PadAction::Activate);
    case SDL_CONTROLLER_BUTTON_B:
        return Act(PadAction::Back);
    case SDL_CONTROLLER_BUTTON_START:
        return Act(PadAction::Start);
    default:
        return;
    }
}

// A new direction acts at once; Up and Down repeat while held.
void GameControllers::Steer(unsigned dpad, unsigned stick) {
    const std::optional<PadAction> before = DirectionOf(dpad_ | stick_),
                                   after = DirectionOf(dpad | stick);
    dpad_ = dpad;
    stick_ = stick;
    if (after == before)
        return;
    repeat_.stop();
    if (!after || quiet_)
        return;
    PerformPadAction(*after);
    if (*after == PadAction::Up || *after == PadAction::Down)
        repeat_.start(kRepeatDelayMs);
}

void GameControllers::Repeat() {
    if (const std::optional<PadAction> direction = DirectionOf(dpad_ | stick_)) {
        PerformPadAction(*direction);
        repeat_.start(kRepeatMs);
    }
}

} // namespace platform::qt
