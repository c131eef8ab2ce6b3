#include "push_button.h"

#include "model_access.h"

#include <QMouseEvent>

namespace platform::qt {

PushButton::PushButton(Object *object, const QString &text, QWidget *parent)
    : QPushButton(text, parent), object_(object) {
    setAutoDefault(false);
    // pressed() covers the mouse, the space key and the underlined letter's
    // Alt shortcut; clicked() is a release over the button from any of them.
    connect(this, &QPushButton::pressed, [this] {
        armed_ = true;
        QueuePress(object_);
    });
    connect(this, &QPushButton::clicked, [this] { LetGo(true); });
}

void PushButton::mouseReleaseEvent(QMouseEvent *event) {
    const bool over = hitButton(event->position().toPoint());
    QPushButton::mouseReleaseEvent(event);
    if (!over)
        LetGo(false); // Qt sends no signal for a release elsewhere
}

void PushButton::focusOutEvent(QFocusEvent *event) {
    QPushButton::focusOutEvent(event);
    if (!isDown())
        LetGo(false); // a key press cut short by losing focus
}

void PushButton::LetGo(bool overButton) {
    if (!armed_)
        return;
    armed_ = false;
    QueueRelease(object_, overButton);
}

} // namespace platform::qt
