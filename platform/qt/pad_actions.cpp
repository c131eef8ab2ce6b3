#include "pad_actions.h"

#include "window_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

namespace platform::qt {
namespace {

// A key stroke, pressed and released, as the keyboard sends it to `widget`.
void Stroke(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QString text;
    switch (key) {
    case Qt::Key_Return:
        text = "\r";
        break;
    case Qt::Key_Space:
        text = " ";
        break;
    case Qt::Key_Tab:
        text = "\t";
        break;
    case Qt::Key_Escape:
        text = "\x1b";
        break;
    default:
        break;
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

// A button or check mark is clicked by Space; a chooser steps to its next
// entry, after the last to the first, as a click on the toolkit's cycle
// gadget does; anything else (a list) takes Return.
void Activate(QWidget *widget) {
    if (qobject_cast<QAbstractButton *>(widget))
        Stroke(widget, Qt::Key_Space);
    else if (auto *chooser = qobject_cast<QComboBox *>(widget))
        Stroke(widget,
               chooser->currentIndex() + 1 < chooser->count() ? Qt::Key_Down : Qt::Key_Home);
    else
        Stroke(widget, Qt::Key_Return);
}

} // namespace

void PerformPadAction(PadAction action) {
    auto *view = dynamic_cast<WindowView *>(QApplication::activeWindow());
    if (!view || !view->isEnabled())
        return;
    QWidget *popup = QApplication::activePopupWidget();
    QWidget *focus = popup ? popup : QApplication::focusWidget();
    if (popup && popup->focusWidget())
        focus = popup->focusWidget();
    if (!focus || focus->window() != (popup ? popup : view))
        focus = view;
    QWidget *fallback = view->DefaultGadget();
    switch (action) {
    case PadAction::Up:
        Stroke(focus, Qt::Key_Up);
        break;
    case PadAction::Down:
        Stroke(focus, Qt::Key_Down);
        break;
    case PadAction::Left:
        if (!popup)
            Stroke(focus, Qt::Key_Backtab, Qt::ShiftModifier);
        break;
    case PadAction::Right:
        if (!popup)
            Stroke(focus, Qt::Key_Tab);
        break;
    case PadAction::Activate:
        Activate(focus);
        break;
    case PadAction::Start:
        if (!popup && fallback && fallback->isEnabled())
            Activate(fallback);
        break;
    case PadAction::Back:
        if (popup)
            Stroke(focus, Qt::Key_Escape);
        else if (fallback)
            fallback->setFocus(Qt::OtherFocusReason);
        break;
    }
}

} // namespace platform::qt
