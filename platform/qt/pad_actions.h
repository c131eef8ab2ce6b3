#pragma once
// What a game controller's buttons do in the active toolkit window: the keys
// a keyboard user would press there, so that the widgets turn them into the
// same input records as typed keys.

namespace platform::qt {

enum class PadAction {
    Up,       // Up: the list's or a focused chooser's previous entry
    Down,     // Down: the next entry
    Left,     // Shift+Tab: the focus to the previous control
    Right,    // Tab: the focus to the next control
    Activate, // the focused control: Return on a list, Space on a button or
              // check mark, the next entry of a chooser
    Start,    // the window's default object, activated as above
    Back,     // the focus back to the window's default object
};

// Acts in the active window when it is a toolkit window; else does nothing.
// While a pop-up of the window is open, the directions, Activate and Back
// (as Escape) act in the pop-up.
void PerformPadAction(PadAction action);

} // namespace platform::qt
