// The view the toolkit model talks to: one WindowView per open window, and
// the game controllers while a window is open. It is registered with the
// model as this object file is loaded, so linking the view is all a program
// does to get real windows.
#include "game_controllers.h"
#include "model_access.h"
#include "qt_host.h"
#include "window_view.h"

#include <libraries/mui.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace platform::qt {
namespace {

class QtView final : public platform::mui::ViewObserver {
  public:
    void WindowOpened(Object *window) override {
        if (!HostIsOpen() || windows_.count(window))
            return;
        auto view = std::make_unique<WindowView>(window);
        view->Present();
        windows_[window] = std::move(view);
        if (!controllers_)
            controllers_ = std::make_unique<GameControllers>();
    }

    void WindowClosed(Object *window) override {
        auto it = windows_.find(window);
        if (it == windows_.end())
            return;
        it->second->RememberPlacement();
        Erase(it);
    }

    void AttributeChanged(Object *object, Tag attribute, IPTR value) override {
        if (WindowView *view = ViewShowing(object))
            view->Follow(object, attribute, value);
    }

    void GroupChanged(Object *group) override {
        if (WindowView *view = ViewShowing(group))
            view->RebuildGroup(group);
    }

    // A disposed object has left its window already: each window lets go of
    // any widget it still has for it.
    void ObjectDisposed(Object *object) override {
        if (auto it = windows_.find(object); it != windows_.end())
            return Erase(it);
        for (auto &[window, view] : windows_)
            view->Forget(object);
    }

    // The display has gone and Qt would end the process at once. The run
    // ends as a program ends one: its windows closed, then each application
    // disposed (where a program saves its state); then the process ends as
    // after the break signal.
    [[noreturn]] void EndForLostDisplay() {
        std::vector<Object *> windows, applications;
        for (const auto &[window, view] : windows_) {
            windows.push_back(window);
            Object *application = ApplicationOf(window);
            if (application && std::find(applications.begin(), applications.end(), application) ==
                                   applications.end())
                applications.push_back(application);
        }
        for (Object *window : windows)
            SetAttrs(window, MUIA_Window_Open, FALSE, TAG_DONE);
        for (Object *application : applications)
            MUI_DisposeObject(application);
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    }

    // Every window goes before Qt does.
    void CloseAll() {
        for (auto &[window, view] : windows_)
            view->RememberPlacement();
        windows_.clear();
        controllers_.reset();
    }

    int LookForControllers() { return controllers_ ? controllers_->LookNow() : 0; }

  private:
    // The controllers stop with the last window.
    void Erase(std::map<Object *, std::unique_ptr<WindowView>>::iterator it) {
        windows_.erase(it);
        if (windows_.empty())
            controllers_.reset();
    }

    // The view of the open window the object belongs to, or null.
    WindowView *ViewShowing(Object *object) const {
        auto it = windows_.find(WindowOf(object));
        return it != windows_.end() ? it->second.get() : nullptr;
    }

    std::map<Object *, std::unique_ptr<WindowView>> windows_;
    std::unique_ptr<GameControllers> controllers_;
};

// Never destroyed: widgets must not outlive Qt at process exit.
QtView &TheView() {
    static auto *view = new QtView;
    return *view;
}

const bool g_registered = [] {
    platform::mui::SetViewObserver(&TheView());
    platform::mui::SetViewLifecycle([] { return OpenHost([] { TheView().EndForLostDisplay(); }); },
                                    [] {
                                        TheView().CloseAll();
                                        CloseHost();
                                    });
    return true;
}();

} // namespace

int LookForControllers() {
    return TheView().LookForControllers();
}

} // namespace platform::qt
