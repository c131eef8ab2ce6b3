#pragma once
// The seam between the toolkit model (platform/mui, no Qt) and a view that
// shows open windows (platform/qt): everything the view reads from the model,
// every way it hands user input to it, and what the model tells it. The
// model works without any view; a view registers itself before the toolkit
// library is opened.
#include <exec/types.h>
#include <intuition/classusr.h>
#include <utility/tagitem.h>

#include <functional>
#include <vector>

namespace platform::mui {

// ---- Reading the model (for the view) ----------------------------------
// The toolkit class an object is built on ("Window.mui", "Text.mui", ...);
// for an object of a custom class, the name of its nearest built-in class.
const char *ClassNameOf(Object *object);
// Current value of an attribute the model keeps; false when it has none.
bool GetAttribute(Object *object, Tag attribute, IPTR *value);
// Children in order: an application's windows, a window's root object, a
// group's members, a list view's list. Empty for the rest.
const std::vector<Object *> &ChildrenOf(Object *object);
// The application or window object an object belongs to (itself for one),
// or null while it is not part of one.
Object *ApplicationOf(Object *object);
Object *WindowOf(Object *object);
// The object of `window` that a typed key acts on: the first one, depth
// first, that has `key` as its enabled MUIA_ControlChar; null for none.
Object *FindControlChar(Object *window, IPTR key);

// ---- User input as data -------------------------------------------------
// One user action, queued at the application and applied inside
// MUIM_Application_NewInput with the same attribute setting the program uses.
struct InputRecord {
    enum class Kind {
        Set,         // set attribute to value; notifications fire
        SetQuiet,    // set attribute to value without any notification
        ControlChar, // a key typed in window `object`: value is the character
        Press,       // mouse button pressed on `object`
        Release,     // mouse button released; value TRUE over `object`, FALSE elsewhere
    };
    Kind kind = Kind::Set;
    Object *object = nullptr;
    Tag attribute = 0;
    IPTR value = 0;
};
// Queues the record and raises the application's signal.
void QueueInput(Object *application, const InputRecord &record);

// The records a view sends, each queued at the object's application.
// QueueSet: the user gave an attribute a value (a check box, a chooser, a
// list's cursor, the close button's request).
// QueuePress/QueueRelease: on a RelVerify button a press sets MUIA_Selected
// and MUIA_Pressed TRUE; a release over the button sets both FALSE
// (notifications fire); a release elsewhere clears them quietly. On a toggle
// a press flips MUIA_Selected and a release does nothing.
// QueueControlChar: a key typed in the window, for FindControlChar's object.
void QueueSet(Object *object, Tag attribute, IPTR value);
void QueuePress(Object *button);
void QueueRelease(Object *button, bool overButton);
void QueueControlChar(Object *window, IPTR key);

// ---- Following the model (the view) -------------------------------------
class ViewObserver {
  public:
    virtual ~ViewObserver() = default;
    virtual void WindowOpened(Object *window) = 0; // MUIA_Window_Open became TRUE
    virtual void WindowClosed(Object *window) = 0; // became FALSE, or the window goes
    // An attribute took a new value (program set or applied input).
    virtual void AttributeChanged(Object *object, Tag attribute, IPTR value) = 0;
    virtual void GroupChanged(Object *group) = 0;    // at MUIM_Group_ExitChange
    virtual void ObjectDisposed(Object *object) = 0; // before its memory goes
};
void SetViewObserver(ViewObserver *observer);

// Called when "muimaster.library" is first opened / last closed. open returns
// false when there is no usable display; OpenLibrary then returns null.
void SetViewLifecycle(std::function<bool()> open, std::function<void()> close);

} // namespace platform::mui
