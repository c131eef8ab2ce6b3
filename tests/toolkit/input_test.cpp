// The application at run time: return ids, user input applied inside
// NewInput, the wait for signals, group changes and what the view is told.
#include "toolkit_helpers.h"

#include <proto/exec.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <unistd.h>

using namespace toolkit_test;
using platform::mui::InputRecord;

namespace {

constexpr ULONG kBreakC = 1UL << 12; // SIGBREAKF_CTRL_C

IPTR Get(Object *object, Tag attribute) {
    IPTR value = 0;
    GetAttr(attribute, object, &value);
    return value;
}

Object *Button(const char *label, char key) {
    return MUI_NewObject(MUIC_Text, MUIA_Text_Contents, label, MUIA_InputMode,
                         MUIV_InputMode_RelVerify, MUIA_ControlChar, key, TAG_DONE);
}

// An application with one window holding a Quit button (key 'q'), a check
// mark (key 'c') and a box-art group with one picture (user data 45).
struct Gui {
    Object *quit = Button("Quit", 'q');
    Object *check = MUI_NewObject(MUIC_Image, MUIA_InputMode, MUIV_InputMode_Toggle,
                                  MUIA_ControlChar, 'c', TAG_DONE);
    Object *picture =
        MUI_NewObject(MUIC_Dtpic, MUIA_Dtpic_Name, "nocart.png", MUIA_UserData, 45, TAG_DONE);
    Object *pictureGroup = MUI_NewObject(MUIC_Group, MUIA_Group_Child, picture, TAG_DONE);
    Object *window = MUI_NewObject(
        MUIC_Window, {MUIA_Window_RootObject,
                      MUI_NewObject(MUIC_Group, {MUIA_Group_Child, pictureGroup, MUIA_Group_Child,
                                                 check, MUIA_Group_Child, quit})});
    Object *app = MUI_NewObject(MUIC_Application, MUIA_Application_Window, window, TAG_DONE);
    std::vector<Recorded> log;
    Object *recorder = NewRecorder(&log);

    Gui() {
        IDoMethod(quit, MUIM_Notify, MUIA_Pressed, FALSE, app, 2, MUIM_Application_ReturnID,
                  MUIV_Application_ReturnID_Quit);
        IDoMethod(window, MUIM_Notify, MUIA_Window_CloseRequest, TRUE, app, 2,
                  MUIM_Application_ReturnID, 77);
        IDoMethod(check, MUIM_Notify, MUIA_Selected, MUIV_EveryTime, recorder, 2, kRecord,
                  MUIV_TriggerValue);
    }
    ~Gui() {
        MUI_DisposeObject(app);
        MUI_DisposeObject(recorder);
    }
    IPTR NewInput(ULONG *signals = nullptr) {
        ULONG scratch = 0;
        return IDoMethod(app, MUIM_Application_NewInput, signals ? signals : &scratch);
    }
    void Queue(InputRecord::Kind kind, Object *object, IPTR value = 0, Tag attribute = 0) {
        platform::mui::QueueInput(app, {kind, object, attribute, value});
    }
};

} // namespace

TEST(NewInput, HandsOutReturnIdsOnePerCallAndKeepsTheLoopAwake) {
    Gui gui;
    IDoMethod(gui.app, MUIM_Application_ReturnID, 5);
    IDoMethod(gui.app, MUIM_Application_ReturnID, MUIV_Application_ReturnID_Quit);
    ULONG signals = 0;
    EXPECT_EQ(gui.NewInput(&signals), 5u);
    ASSERT_NE(signals, 0u);
    // The second id is pending: the wait of a main loop must not block.
    EXPECT_EQ(Wait(signals | kBreakC), signals);
    const LONG id = static_cast<LONG>(gui.NewInput(&signals));
    EXPECT_EQ(id, MUIV_Application_ReturnID_Quit);
    EXPECT_EQ(gui.NewInput(&signals), 0u);
    EXPECT_EQ(SetSignal(0, 0) & signals, 0u); // nothing left to wake for
}

TEST(NewInput, AppliesQueuedUserInputWithNotificationsInside) {
    Gui gui;
    // A press and a release over the button: the click counts, inside NewInput.
    platform::mui::QueuePress(gui.quit);
    platform::mui::QueueRelease(gui.quit, true);
    EXPECT_EQ(Get(gui.quit, MUIA_Pressed), 0u); // nothing applied yet
    EXPECT_EQ(static_cast<LONG>(gui.NewInput()), MUIV_Application_ReturnID_Quit);
    // Released elsewhere: the button lets go without any notification.
    platform::mui::QueuePress(gui.quit);
    EXPECT_EQ(gui.NewInput(), 0u);
    EXPECT_EQ(Get(gui.quit, MUIA_Pressed), 1u);
    platform::mui::QueueRelease(gui.quit, false);
    EXPECT_EQ(gui.NewInput(), 0u);
    EXPECT_EQ(Get(gui.quit, MUIA_Pressed), 0u);
    // Its key acts as a click; a key nobody has does nothing.
    gui.Queue(InputRecord::Kind::ControlChar, gui.window, 'x');
    gui.Queue(InputRecord::Kind::ControlChar, gui.window, 'q');
    EXPECT_EQ(static_cast<LONG>(gui.NewInput()), MUIV_Application_ReturnID_Quit);

    // A toggle flips on every click and on its key; each flip is one change.
    platform::mui::QueuePress(gui.check);
    platform::mui::QueueRelease(gui.check, true);
    gui.Queue(InputRecord::Kind::ControlChar, gui.window, 'c');
    gui.Queue(InputRecord::Kind::SetQuiet, gui.check, TRUE, MUIA_Selected);
    gui.NewInput();
    ASSERT_EQ(gui.log.size(), 2u);
    EXPECT_EQ(gui.log[0].argument, 1u);
    EXPECT_EQ(gui.log[1].argument, 0u);
    EXPECT_EQ(Get(gui.check, MUIA_Selected), 1u); // the quiet set took, unannounced

    // The close gadget fires on every request, not just the first.
    gui.Queue(InputRecord::Kind::Set, gui.window, TRUE, MUIA_Window_CloseRequest);
    EXPECT_EQ(gui.NewInput(), 77u);
    gui.Queue(InputRecord::Kind::Set, gui.window, TRUE, MUIA_Window_CloseRequest);
    EXPECT_EQ(gui.NewInput(), 77u);

    // Input for an object that went away before NewInput is dropped.
    Object *doomed = gui.picture;
    platform::mui::QueuePress(doomed);
    IDoMethod(gui.pictureGroup, OM_REMMEMBER, doomed);
    MUI_DisposeObject(doomed);
    EXPECT_EQ(gui.NewInput(), 0u);
}

// An action may dispose its source or the whole application: nothing touches
// what is gone, and input for it that is still queued is dropped.
TEST(NewInput, AnActionMayDisposeItsSourceOrTheApplication) {
    const ULONG before = LiveObjects();
    for (bool wholeApplication : {false, true})
        for (int source = 0; source < 3; ++source) {
            Gui gui;
            Object *const objects[] = {gui.window, gui.check, gui.quit};
            const Tag attributes[] = {MUIA_Window_CloseRequest, MUIA_Selected, MUIA_Pressed};
            Object *object = objects[source];
            IDoMethod(object, MUIM_Notify, attributes[source], MUIV_EveryTime,
                      wholeApplication ? gui.app : object, 1, OM_DISPOSE);
            if (source == 0)
                gui.Queue(InputRecord::Kind::Set, gui.window, TRUE, MUIA_Window_CloseRequest);
            else
                gui.Queue(InputRecord::Kind::ControlChar, gui.window, source == 1 ? 'c' : 'q');
            platform::mui::QueuePress(gui.check);
            gui.NewInput();
            if (wholeApplication) {
                EXPECT_EQ(LiveObjects(), before) << source;
                gui.app = nullptr;
            }
        }
    EXPECT_EQ(LiveObjects(), before);
}

TEST(MainLoop, WaitsForInputOrTheBreakSignal) {
    Gui gui;
    auto runLoop = [&gui] {
        ULONG signals = 0;
        for (;;) {
            if (static_cast<LONG>(gui.NewInput(&signals)) == MUIV_Application_ReturnID_Quit)
                return std::string("quit");
            signals = Wait(signals | kBreakC);
            if (signals & kBreakC)
                return std::string("break");
        }
    };
    // Input queued from outside wakes the wait; the click then quits.
    platform::mui::QueuePress(gui.quit);
    platform::mui::QueueRelease(gui.quit, true);
    EXPECT_EQ(runLoop(), "quit");
    // The break signal sent to the process ends the loop the other way.
    ASSERT_EQ(kill(getpid(), SIGTERM), 0);
    EXPECT_EQ(runLoop(), "break");
}

TEST(Group, ChangeSwapsItsOnlyChildAndTheViewFollowsAtExit) {
    Gui gui;
    RecordingObserver observer;
    ObserverGuard guard(&observer);
    Object *old = reinterpret_cast<Object *>(IDoMethod(gui.app, MUIM_FindUData, 45));
    ASSERT_EQ(old, gui.picture);

    ASSERT_NE(IDoMethod(gui.pictureGroup, MUIM_Group_InitChange), 0u);
    EXPECT_NE(IDoMethod(gui.pictureGroup, OM_REMMEMBER, old), 0u);
    char path[256];
    std::strcpy(path, "images/game.png");
    Object *fresh = MUI_NewObject(MUIC_Dtpic, MUIA_Dtpic_Name, path, MUIA_UserData, 45, TAG_DONE);
    std::strcpy(path, "overwritten"); // the picture keeps its own copy of the name
    IDoMethod(gui.pictureGroup, OM_ADDMEMBER, fresh);
    EXPECT_EQ(observer.Count("group"), 0);
    IDoMethod(gui.pictureGroup, MUIM_Group_ExitChange);
    EXPECT_EQ(observer.Count("group"), 1);

    EXPECT_EQ(platform::mui::ChildrenOf(gui.pictureGroup), std::vector<Object *>{fresh});
    EXPECT_EQ(IDoMethod(gui.app, MUIM_FindUData, 45), reinterpret_cast<IPTR>(fresh));
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(fresh, MUIA_Dtpic_Name)), "images/game.png");
    EXPECT_EQ(platform::mui::ApplicationOf(old), nullptr); // the caller owns it now
    MUI_DisposeObject(old);
    // A group cannot take its own ancestor.
    EXPECT_EQ(IDoMethod(gui.pictureGroup, OM_ADDMEMBER, gui.window), 0u);
}

TEST(List, RefersToTheCallersStringsAndStartsAtTheTopEntry) {
    static const char *names[] = {"Alpha", "Beta", "Gamma", nullptr};
    static const char *none[] = {nullptr};
    Object *list = MUI_NewObject(MUIC_List, MUIA_List_SourceArray, names, MUIA_List_Active,
                                 MUIV_List_Active_Top, TAG_DONE);
    Object *empty = MUI_NewObject(MUIC_List, MUIA_List_SourceArray, none, MUIA_List_Active,
                                  MUIV_List_Active_Top, TAG_DONE);
    EXPECT_EQ(Get(list, MUIA_List_Entries), 3u);
    EXPECT_EQ(static_cast<LONG>(Get(list, MUIA_List_Active)), 0);
    EXPECT_EQ(static_cast<LONG>(Get(empty, MUIA_List_Active)), MUIV_List_Active_Off);
    EXPECT_EQ(Get(list, MUIA_List_SourceArray), reinterpret_cast<IPTR>(names));
    APTR entry = nullptr;
    IDoMethod(list, MUIM_List_GetEntry, 1, &entry);
    EXPECT_EQ(entry, names[1]); // the caller's own string, not a copy

    SetAttrs(list, MUIA_List_Active, 7, TAG_DONE); // no such entry: ignored
    EXPECT_EQ(static_cast<LONG>(Get(list, MUIA_List_Active)), 0);
    SetAttrs(list, MUIA_List_Active, MUIV_List_Active_Bottom, TAG_DONE);
    EXPECT_EQ(static_cast<LONG>(Get(list, MUIA_List_Active)), 2);
    MUI_DisposeObject(list);
    MUI_DisposeObject(empty);
}

TEST(Window, OpensOnlyInAnApplicationAndTheViewIsToldEverything) {
    RecordingObserver observer;
    ObserverGuard guard(&observer);
    Object *lonely = MUI_NewObject(MUIC_Window, MUIA_Window_Open, TRUE, TAG_DONE);
    SetAttrs(lonely, MUIA_Window_Open, TRUE, TAG_DONE);
    EXPECT_EQ(Get(lonely, MUIA_Window_Open), 0u);
    MUI_DisposeObject(lonely);
    observer.events.clear();

    Gui gui;
    SetAttrs(gui.window, MUIA_Window_Open, TRUE, TAG_DONE);
    SetAttrs(gui.quit, MUIA_Text_Contents, "Leave", TAG_DONE);
    EXPECT_EQ(observer.Count("open"), 1);
    EXPECT_EQ(observer.Count("set " + std::to_string(MUIA_Text_Contents) + "=" +
                             std::to_string(Get(gui.quit, MUIA_Text_Contents))),
              1);
    MUI_DisposeObject(gui.app);
    gui.app = nullptr;
    EXPECT_EQ(observer.Count("close"), 1);
    EXPECT_EQ(observer.Count("dispose"), 7); // application, window and five objects inside
}
