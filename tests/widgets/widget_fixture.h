#pragma once
// A small application on the real Qt view: a window with a check mark, a
// cycle gadget, a list, a push button and a picture group. Every gadget
// reports its changes to a custom application class that notes whether the
// notification ran inside MUIM_Application_NewInput.
#include <libraries/mui.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace widgets_test {

enum Id : IPTR { kCheck = 1, kCycle, kList, kButton, kPicture, kPictureGroup, kTitle };

// One notification as the application class saw it.
struct Event {
    IPTR source; // the Id of the gadget
    IPTR value;  // the attribute's new value
    bool insideNewInput;
    bool operator==(const Event &) const = default;
};

class WidgetTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new application with the test window (closed), base name `base`.
    Object *MakeApplication(const char *base, ULONG windowId);
    void OpenWindow(bool open = true);
    // Runs MUIM_Application_NewInput until no more input is pending.
    void RunInput();
    std::vector<Event> TakeEvents();

    Object *Find(IPTR id) const;
    QWidget *Window() const; // the shown top-level window, or null
    // The only widget of type W in the window (not in a pop-up of it).
    template <class W> W *One() const {
        QList<W *> found;
        if (QWidget *window = Window())
            for (W *widget : window->findChildren<W *>())
                if (widget->window() == window)
                    found.push_back(widget);
        EXPECT_EQ(found.size(), 1);
        if (found.size() != 1)
            throw std::runtime_error("no single widget of the wanted type");
        return found.front();
    }
    std::string WritePng(const char *name, int width, int height, unsigned rgb) const;

    std::filesystem::path dir_;
    struct Library *mui_ = nullptr;
    struct MUI_CustomClass *appClass_ = nullptr;
    Object *app_ = nullptr;
    Object *win_ = nullptr;
    std::vector<std::string> names_;
    std::vector<const char *> nameArray_;
};

} // namespace widgets_test
