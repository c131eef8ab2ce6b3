#pragma once
// Helpers for the toolkit tests: a view observer that records what it is
// told, a class whose objects record the methods they receive, and the
// object counts that show a tree was disposed completely.
#include "mui/view.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <string>
#include <vector>

namespace toolkit_test {

struct RecordingObserver : platform::mui::ViewObserver {
    std::vector<std::string> events;
    void WindowOpened(Object *) override { events.push_back("open"); }
    void WindowClosed(Object *) override { events.push_back("close"); }
    void AttributeChanged(Object *, Tag attribute, IPTR value) override {
        events.push_back("set " + std::to_string(attribute) + "=" + std::to_string(value));
    }
    void GroupChanged(Object *) override { events.push_back("group"); }
    void ObjectDisposed(Object *) override { events.push_back("dispose"); }
    int Count(const std::string &event) const {
        int n = 0;
        for (const auto &e : events)
            n += e == event;
        return n;
    }
};

// Installs the observer for the lifetime of the guard.
struct ObserverGuard {
    explicit ObserverGuard(platform::mui::ViewObserver *o) { platform::mui::SetViewObserver(o); }
    ~ObserverGuard() { platform::mui::SetViewObserver(nullptr); }
};

// Objects of this subclass of Notify.mui record each kRecord message: its
// argument, and the value the sender held at that moment.
constexpr ULONG kRecord = 0x7E570001;
struct Recorded {
    IPTR argument;
    IPTR senderValue;
};
struct RecorderData {
    std::vector<Recorded> *log;
    Object *sender;
    Tag senderAttribute;
};
struct MUI_CustomClass *RecorderClass();
Object *NewRecorder(std::vector<Recorded> *log, Object *sender = nullptr, Tag senderAttribute = 0);

// Live objects of the built-in classes: a leak check that needs no sanitizer.
ULONG LiveObjects();

} // namespace toolkit_test
