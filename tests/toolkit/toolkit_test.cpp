// The toolkit model without a display.
#include "mui/view.h"

#include <libraries/mui.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <gtest/gtest.h>

#include <cstring>

using platform::mui::InputRecord;
using Kind = InputRecord::Kind;

static IPTR Get(Object *object, Tag attribute) {
    IPTR value = 0;
    GetAttr(attribute, object, &value);
    return value;
}

// The view while it lives: each change kept as tag and value, before notifications.
struct RecordingObserver : platform::mui::ViewObserver {
    int opened = 0, closed = 0, groups = 0, disposed = 0;
    std::vector<IPTR> changes;
    RecordingObserver() { platform::mui::SetViewObserver(this); }
    ~RecordingObserver() override { platform::mui::SetViewObserver(nullptr); }
    void WindowOpened(Object *) override { ++opened; }
    void WindowClosed(Object *) override { ++closed; }
    void AttributeChanged(Object *, Tag t, IPTR v) override {
        changes.insert(changes.end(), {t, v});
    }
    void GroupChanged(Object *) override { ++groups; }
    void ObjectDisposed(Object *) override { ++disposed; }
};

// Live objects of the built-in classes: a leak check that needs no sanitizer.
static ULONG LiveObjects() {
    ULONG count = 0;
    for (ClassID name : {MUIC_Application, MUIC_Window, MUIC_Group, MUIC_Text, MUIC_Image,
                         MUIC_List, MUIC_Listview, MUIC_Cycle, MUIC_Dtpic, MUIC_Rectangle})
        if (struct IClass *cl = FindClass(name)) // made on the toolkit's first use
            count += cl->cl_ObjectCount;
    return count;
}

// application (1) > window (2) > group > (box-art group > picture (45),
// list view > list (44), row (7) > (check mark (39, key 'c'), label), Quit
// button (44, key 'q')). The check mark's TRUE returns 88.
struct Gui {
    Object *picture = MUI_NewObject(MUIC_Dtpic, MUIA_Dtpic_Name, "nocart.png", MUIA_UserData, 45);
    Object *pictureGroup = MUI_NewObject(MUIC_Group, MUIA_Group_Child, picture);
    Object *list = MUI_NewObject(MUIC_List, MUIA_UserData, 44);
    Object *check = MUI_NewObject(MUIC_Image, MUIA_InputMode, MUIV_InputMode_Toggle,
                                  MUIA_ControlChar, 'c', MUIA_UserData, 39);
    Object *row = MUI_NewObject(MUIC_Group, {MUIA_UserData, 7, MUIA_Group_Child, check,
                                             MUIA_Group_Child, MUI_MakeObject(MUIO_Label, "L", 0)});
    Object *quit = MUI_NewObject(MUIC_Text, MUIA_InputMode, MUIV_InputMode_RelVerify,
                                 MUIA_ControlChar, 'q', MUIA_UserData, 44);
    Object *window = MUI_NewObject(
        MUIC_Window,
        {MUIA_UserData, 2, MUIA_Window_RootObject,
         MUI_NewObject(MUIC_Group, {MUIA_Group_Child, pictureGroup, MUIA_Group_Child,
                                    MUI_NewObject(MUIC_Listview, MUIA_Listview_List, list),
                                    MUIA_Group_Child, row, MUIA_Group_Child, quit})});
    Object *app =
        MUI_NewObject(MUIC_Application, MUIA_Application_Window, window, MUIA_UserData, 1);
    ULONG signals = 0;

    Gui() {
        IDoMethod(quit, MUIM_Notify, MUIA_Pressed, FALSE, app, 2, MUIM_Application_ReturnID,
                  MUIV_Application_ReturnID_Quit);
        IDoMethod(window, MUIM_Notify, MUIA_Window_CloseRequest, TRUE, app, 2,
                  MUIM_Application_ReturnID, 77);
        IDoMethod(check, MUIM_Notify, MUIA_Selected, TRUE, app, 2, MUIM_Application_ReturnID, 88);
    }
    ~Gui() { MUI_DisposeObject(app); }
    LONG NewInput() {
        return static_cast<LONG>(IDoMethod(app, MUIM_Application_NewInput, &signals));
    }
    void Queue(const InputRecord &record) { platform::mui::QueueInput(app, record); }
};

static int g_disposed = 0;

static IPTR OwnDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    g_disposed += msg->MethodID == OM_DISPOSE;
    return IDoSuperMethodA(cl, obj, msg);
}

// A subclass of Application.mui: its own data, return ids in order, the loop
// awake while any wait, the class kept while an object lives.
TEST(CustomClass, SubclassOfApplicationWorksAsOne) {
    constexpr ULONG kBreakC = 1UL << 12; // SIGBREAKF_CTRL_C
    const ULONG before = LiveObjects();
    EXPECT_EQ(MUI_CreateCustomClass(nullptr, "NoSuch.mui", nullptr, 4, OwnDispatcher), nullptr);
    struct MUI_CustomClass *mcc =
        MUI_CreateCustomClass(nullptr, MUIC_Application, nullptr, sizeof(IPTR), OwnDispatcher);
    Object *app = NewObject(mcc->mcc_Class, nullptr, MUIA_Application_Title, "Own", TAG_DONE);
    *static_cast<IPTR *>(INST_DATA(mcc->mcc_Class, app)) = ~IPTR{0};
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(app, MUIA_Application_Title)), "Own");
    EXPECT_STREQ(platform::mui::ClassNameOf(app), MUIC_Application);

    ULONG signals = 0;
    auto newInput = [&] { return LONG(IDoMethod(app, MUIM_Application_NewInput, &signals)); };
    IDoMethod(app, MUIM_Application_ReturnID, 5);
    IDoMethod(app, MUIM_Application_ReturnID, MUIV_Application_ReturnID_Quit);
    EXPECT_EQ(newInput(), 5);
    ASSERT_NE(signals, 0u);
    EXPECT_EQ(Wait(signals | kBreakC), signals); // the second id is pending
    EXPECT_EQ(newInput(), MUIV_Application_ReturnID_Quit);
    EXPECT_EQ(newInput(), 0);
    EXPECT_EQ(SetSignal(0, 0) & signals, 0u);                      // nothing left to wake for
    platform::mui::QueueInput(app, {Kind::Set, app, TAG_USER, 1}); // input from outside wakes it
    EXPECT_EQ(Wait(signals | kBreakC), signals);

    EXPECT_FALSE(MUI_DeleteCustomClass(mcc));
    MUI_DisposeObject(app);
    EXPECT_EQ(std::pair(g_disposed, LiveObjects()), std::pair(1, before));
    EXPECT_TRUE(MUI_DeleteCustomClass(mcc));
}

// A null child fails the object and disposes the others; so does no class.
TEST(Creation, ANullChildFailsTheObjectAndLeavesNothing) {
    const ULONG before = LiveObjects();
    const std::pair<ClassID, Tag> parents[] = {{MUIC_Application, MUIA_Application_Window},
                                               {MUIC_Window, MUIA_Window_RootObject},
                                               {MUIC_Group, MUIA_Group_Child},
                                               {MUIC_Listview, MUIA_Listview_List},
                                               {"NoSuch.mui", MUIA_Group_Child}};
    for (auto [name, tag] : parents) {
        EXPECT_EQ(MUI_NewObject(name, tag, MUI_NewObject(MUIC_Text), tag, nullptr), nullptr);
        EXPECT_EQ(LiveObjects(), before) << name;
    }
}

TEST(Tree, SearchedSelfFirstThenDepthFirstNotifiedUpwardsAndDisposedWhole) {
    const ULONG before = LiveObjects();
    auto *gui = new Gui;
    auto find = [gui](IPTR id) {
        return reinterpret_cast<Object *>(IDoMethod(gui->app, MUIM_FindUData, id));
    };
    EXPECT_EQ(
        std::vector({find(44), find(39), find(7), find(1), find(2), find(5)}),
        std::vector<Object *>({gui->list, gui->check, gui->row, gui->app, gui->window, nullptr}));
    EXPECT_EQ(Get(gui->check, MUIA_Parent), reinterpret_cast<IPTR>(gui->row));

    for (IPTR target : {MUIV_Notify_Window, MUIV_Notify_Application, MUIV_Notify_Parent})
        IDoMethod(gui->check, MUIM_Notify, MUIA_Selected, TRUE, target, 3, MUIM_Set, MUIA_UserData,
                  target);
    SetAttrs(gui->check, MUIA_Selected, TRUE, TAG_DONE);
    EXPECT_EQ(std::vector({Get(gui->window, MUIA_UserData), Get(gui->app, MUIA_UserData),
                           Get(gui->row, MUIA_UserData)}),
              std::vector({MUIV_Notify_Window, MUIV_Notify_Application, MUIV_Notify_Parent}));

    RecordingObserver observer;
    delete gui;
    EXPECT_EQ(std::pair(LiveObjects(), observer.disposed), std::pair(before, 11));
    MUI_DisposeObject(nullptr); // nothing to do
}

// Initial values, and given values kept as the nearest class listing them says.
TEST(Attributes, EachClassKeepsItsOwnAndItsSuperclassesAttributes) {
    const std::tuple<ClassID, Tag, IPTR, IPTR, IPTR> rows[] = {
        {MUIC_Text, MUIA_HorizWeight, 100, 0xFFFFFFFF, static_cast<IPTR>(-1)}, // Area's, a LONG
        {MUIC_Text, MUIA_ControlChar, 0, 0x171, 0x71},
        {MUIC_Listview, MUIA_Listview_Input, TRUE, 2, TRUE}};
    for (auto [name, tag, initial, given, kept] : rows) {
        Object *object = MUI_NewObject(name);
        EXPECT_EQ(Get(object, tag), initial) << name;
        SetAttrs(object, tag, given, TAG_DONE);
        EXPECT_EQ(Get(object, tag), kept) << name;
        MUI_DisposeObject(object);
    }
}

// Created at the start value (before its strings), then set to the request.
TEST(ActiveEntry, ListsStopAtTheEndsCyclesWrapAndNoEntryIsIgnored) {
    static const char *three[] = {"a", "b", "c", nullptr}, *none[] = {nullptr};
    const std::tuple<bool, const char **, LONG, LONG, LONG> rows[] = {
        {true, three, MUIV_List_Active_Top, MUIV_List_Active_Down, 1},
        {true, three, MUIV_List_Active_Off, MUIV_List_Active_Up, 0},
        {true, three, 2, MUIV_List_Active_Down, 2},
        {true, three, 0, MUIV_List_Active_Bottom, 2},
        {true, none, MUIV_List_Active_Top, MUIV_List_Active_Bottom, MUIV_List_Active_Off},
        {false, three, 2, MUIV_Cycle_Active_Next, 0},
        {false, three, 0, MUIV_Cycle_Active_Prev, 2},
        {false, three, 3, 3, 0},
        {false, none, 0, MUIV_Cycle_Active_Next, 0}};
    for (auto [list, strings, start, request, active] : rows) {
        const Tag attribute = list ? MUIA_List_Active : MUIA_Cycle_Active;
        Object *object = MUI_NewObject(list ? MUIC_List : MUIC_Cycle, attribute, start,
                                       list ? MUIA_List_SourceArray : MUIA_Cycle_Entries, strings);
        SetAttrs(object, attribute, request, TAG_DONE);
        EXPECT_EQ(static_cast<LONG>(Get(object, attribute)), active) << start << " " << request;
        MUI_DisposeObject(object);
    }
    // A list counts the strings itself; its array is given once.
    Object *list = MUI_NewObject(MUIC_List, MUIA_List_SourceArray, three, MUIA_List_Entries, 9,
                                 MUIA_List_Active, 1);
    SetAttrs(list, MUIA_List_SourceArray, none, MUIA_List_Entries, 0, TAG_DONE);
    APTR entry = nullptr;
    IDoMethod(list, MUIM_List_GetEntry, MUIV_List_GetEntry_Active, &entry);
    EXPECT_EQ(std::pair(Get(list, MUIA_List_Entries), entry), std::pair(IPTR{3}, APTR(three[1])));
    MUI_DisposeObject(list);
}

// The observer sees each change, and so the order in which notifications run.
TEST(Notify, FiresOnRealChangesOnlyInOrderAfterTheValueIsTakenAndNeverReenters) {
    RecordingObserver observer;
    Object *check = MUI_NewObject(MUIC_Image), *sink = MUI_NewObject(MUIC_Notify),
           *gone = MUI_NewObject(MUIC_Notify);
    const IPTR value = TAG_USER + 1, inverse = TAG_USER + 2; // the sink's
    IDoMethod(check, MUIM_Notify, MUIA_Selected, TRUE, gone, 3, MUIM_Set, TAG_USER, 100);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, MUIV_EveryTime, sink, 3, MUIM_Set, value,
              MUIV_TriggerValue);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, MUIV_EveryTime, sink, 3, MUIM_Set, inverse,
              MUIV_NotTriggerValue);
    SetAttrs(check, MUIA_Selected, TRUE, TAG_DONE);
    SetAttrs(check, MUIA_Selected, 5, TAG_DONE); // still TRUE: no change, nothing fires
    SetAttrs(check, MUIA_Selected, FALSE, TAG_DONE);
    IDoMethod(check, MUIM_NoNotifySet, MUIA_Selected, TRUE);
    SetAttrs(check, MUIA_NoNotify, TRUE, MUIA_Selected, FALSE, TAG_DONE);
    MUI_DisposeObject(gone); // a target that is gone is passed over
    SetAttrs(check, MUIA_Selected, TRUE, TAG_DONE);
    const IPTR sel = MUIA_Selected;
    EXPECT_EQ(observer.changes,
              (std::vector<IPTR>{sel, 1, TAG_USER, 100, value,   1, inverse, 0, // gone
                                 sel, 0, value,    0,   inverse, 1, sel,     1,
                                 sel, 0, sel,      1,   value,   1, inverse, 0}));

    // check -> cycle -> sink; the cycle's own step to the next label runs once.
    static const char *labels[] = {"zero", "one", "two", "three", nullptr};
    Object *cycle = MUI_NewObject(MUIC_Cycle, MUIA_Cycle_Entries, labels);
    IDoMethod(check, MUIM_Notify, MUIA_Selected, FALSE, cycle, 3, MUIM_Set, MUIA_Cycle_Active, 2);
    IDoMethod(cycle, MUIM_Notify, MUIA_Cycle_Active, MUIV_EveryTime, MUIV_Notify_Self, 3, MUIM_Set,
              MUIA_Cycle_Active, MUIV_Cycle_Active_Next);
    SetAttrs(check, MUIA_Selected, FALSE, TAG_DONE);
    EXPECT_EQ(Get(cycle, MUIA_Cycle_Active), 3u);

    // An action sets its source's text again: the rest still get the text they
    // fired for (a text that copies it: a plain object would keep a pointer).
    Object *text = MUI_NewObject(MUIC_Text), *copy = MUI_NewObject(MUIC_Text);
    IDoMethod(text, MUIM_Notify, MUIA_Text_Contents, MUIV_EveryTime, MUIV_Notify_Self, 3, MUIM_Set,
              MUIA_Text_Contents, "second");
    IDoMethod(text, MUIM_Notify, MUIA_Text_Contents, "first", copy, 3, MUIM_Set, MUIA_Text_Contents,
              MUIV_TriggerValue);
    SetAttrs(text, MUIA_Text_Contents, "first", TAG_DONE);
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(text, MUIA_Text_Contents)), "second");
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(copy, MUIA_Text_Contents)), "first");
    for (Object *o : {check, sink, cycle, text, copy})
        MUI_DisposeObject(o);
}

// Each step's input is queued, then applied (notifications too) by one NewInput.
TEST(NewInput, AppliesQueuedUserInputWithNotificationsInside) {
    Gui gui;
    const LONG quit = MUIV_Application_ReturnID_Quit;
    // The input, the id NewInput returns, the button's and the check mark's state after it.
    const std::tuple<std::vector<InputRecord>, LONG, IPTR, IPTR> steps[] = {
        {{{Kind::Press, gui.quit}, {Kind::Release, gui.quit, 0, TRUE}}, quit, 0, 0},
        {{{Kind::Press, gui.quit}}, 0, 1, 0},
        {{{Kind::Release, gui.quit, 0, FALSE}}, 0, 0, 0}, // let go elsewhere: no click
        {{{Kind::ControlChar, gui.window, 0, 'x'}, {Kind::ControlChar, gui.window, 0, 'q'}},
         quit,
         0,
         0},
        {{{Kind::Press, gui.check}, {Kind::Release, gui.check, 0, TRUE}}, 88, 0, 1}, // one flip
        {{{Kind::ControlChar, gui.window, 0, 'c'}}, 0, 0, 0},
        {{{Kind::SetQuiet, gui.check, MUIA_Selected, TRUE}}, 0, 0, 1},
        {{{Kind::Set, gui.window, MUIA_Window_CloseRequest, TRUE}}, 77, 0, 1},
        {{{Kind::Set, gui.window, MUIA_Window_CloseRequest, TRUE}}, 77, 0, 1}}; // every request
    for (const auto &[input, id, pressed, selected] : steps) {
        const IPTR before = Get(gui.quit, MUIA_Pressed);
        for (const InputRecord &record : input)
            gui.Queue(record);
        EXPECT_EQ(Get(gui.quit, MUIA_Pressed), before); // nothing is applied before NewInput
        EXPECT_EQ(gui.NewInput(), id);
        EXPECT_EQ(std::pair(Get(gui.quit, MUIA_Pressed), Get(gui.check, MUIA_Selected)),
                  std::pair(pressed, selected));
    }
}

// An action may dispose its source or the application: queued input for it is dropped.
TEST(NewInput, AnActionMayDisposeItsSourceOrTheApplication) {
    const ULONG before = LiveObjects();
    for (bool wholeApplication : {false, true})
        for (int source = 0; source < 3; ++source) {
            Gui gui;
            Object *const objects[] = {gui.window, gui.check, gui.quit};
            const Tag attributes[] = {MUIA_Window_CloseRequest, MUIA_Selected, MUIA_Pressed};
            IDoMethod(objects[source], MUIM_Notify, attributes[source], MUIV_EveryTime,
                      wholeApplication ? gui.app : objects[source], 1, OM_DISPOSE);
            if (source == 0)
                gui.Queue({Kind::Set, gui.window, MUIA_Window_CloseRequest, TRUE});
            else
                gui.Queue({Kind::ControlChar, gui.window, 0, IPTR(source == 1 ? 'c' : 'q')});
            gui.Queue({Kind::Press, gui.check});
            gui.NewInput();
            if (wholeApplication) {
                EXPECT_EQ(LiveObjects(), before) << source;
                gui.app = nullptr;
            }
        }
    EXPECT_EQ(LiveObjects(), before);
}

TEST(View, IsToldOfGroupChangesAtExitAndOfWindowsOpeningAndClosing) {
    RecordingObserver observer;
    Gui gui;
    SetAttrs(gui.window, MUIA_Window_Open, TRUE, TAG_DONE);
    SetAttrs(gui.quit, MUIA_Text_Contents, "Leave", TAG_DONE); // told with the kept copy
    EXPECT_EQ(observer.changes.back(), Get(gui.quit, MUIA_Text_Contents));
    ASSERT_NE(IDoMethod(gui.pictureGroup, MUIM_Group_InitChange), 0u);
    EXPECT_NE(IDoMethod(gui.pictureGroup, OM_REMMEMBER, gui.picture), 0u);
    char path[] = "images/game.png";
    Object *fresh = MUI_NewObject(MUIC_Dtpic, MUIA_Dtpic_Name, path, MUIA_UserData, 45);
    std::strcpy(path, "overwritten"); // the picture keeps its own copy of the name
    IDoMethod(gui.pictureGroup, OM_ADDMEMBER, fresh);
    EXPECT_EQ(observer.groups, 0);
    IDoMethod(gui.pictureGroup, MUIM_Group_ExitChange);
    EXPECT_EQ(observer.groups, 1);
    EXPECT_EQ(platform::mui::ChildrenOf(gui.pictureGroup), std::vector<Object *>{fresh});
    EXPECT_STREQ(reinterpret_cast<const char *>(Get(fresh, MUIA_Dtpic_Name)), "images/game.png");
    EXPECT_EQ(platform::mui::ApplicationOf(gui.picture), nullptr); // the caller owns it now
    MUI_DisposeObject(gui.picture);
    EXPECT_EQ(IDoMethod(gui.pictureGroup, OM_ADDMEMBER, gui.window), 0u); // its own ancestor

    MUI_DisposeObject(gui.app);
    gui.app = nullptr;
    EXPECT_EQ(std::pair(observer.opened, observer.closed), std::pair(1, 1));
}
