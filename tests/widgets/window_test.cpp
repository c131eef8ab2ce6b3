// The Qt view driven with the mouse, the keys and a game controller; the test
// window's gadgets report each change, the list its entry reads (program code).
#include "qt/device_watch.h"
#include "qt/game_controllers.h"
#include "qt/geometry_store.h"
#include "qt/mui_text.h"
#include "temp_dir.h"

#include <dos/dos.h>
#include <libraries/mui.h>
#include <proto/datatypes.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <QtTest>
#include <QtWidgets>
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <sys/stat.h>

namespace fs = std::filesystem;
using platform::qt::GeometryStore;
using platform::qt::ShownText;
using platform::qt::WindowGeometry;
constexpr ULONG kWindowId = 0x54455354;
constexpr ULONG kRecord = 0x7E570001;                  // the application class's own method
using Events = std::vector<std::pair<Object *, IPTR>>; // (source, value) of each notification
static Events g_events;
static int g_entryReads = 0;

static IPTR SpyDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    if (msg->MethodID == kRecord) {
        const IPTR *args = reinterpret_cast<IPTR *>(msg);
        g_events.push_back({reinterpret_cast<Object *>(args[1]), args[2]});
        return 0;
    }
    g_entryReads += msg->MethodID == MUIM_List_GetEntry;
    return IDoSuperMethodA(cl, obj, msg);
}

const char *const kCycleEntries[] = {"One", "Two", "Three", nullptr};
const char *const kNames[] = {"e0", "e1", "e2", "e3", "e4", "e5", "e6", "e7", nullptr};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1); // ENVARC:
        g_events.clear();
        mui_ = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
        appClass_ = MUI_CreateCustomClass(nullptr, MUIC_Application, nullptr, 0, SpyDispatcher);
        listClass_ = MUI_CreateCustomClass(nullptr, MUIC_List, nullptr, 0, SpyDispatcher);
        MakeApplication(kWindowId);
    }

    void TearDown() override {
        MUI_DisposeObject(app_);
        MUI_DeleteCustomClass(listClass_);
        MUI_DeleteCustomClass(appClass_);
        CloseLibrary(mui_);
    }

    // A new application with the test window, open.
    void MakeApplication(ULONG windowId) {
        check_ = MUI_NewObject(MUIC_Image, {MUIA_InputMode, MUIV_InputMode_Toggle, MUIA_Image_Spec,
                                            MUII_CheckMark, MUIA_CycleChain, 1});
        cycle_ = MUI_NewObject(MUIC_Cycle, {MUIA_Cycle_Entries, kCycleEntries});
        list_ = NewObject(listClass_->mcc_Class, nullptr,
                          {MUIA_List_SourceArray, kNames, MUIA_List_Active, MUIV_List_Active_Top});
        button_ =
            MUI_NewObject(MUIC_Text, {MUIA_Text_Contents, "Go on", MUIA_Frame, MUIV_Frame_Button,
                                      MUIA_InputMode, MUIV_InputMode_RelVerify, MUIA_Text_HiChar,
                                      'o', MUIA_ControlChar, 'o', MUIA_CycleChain, 1});
        const std::string first = WritePicture("first.png", 40, 30, 0x3060c0);
        picture_ = MUI_NewObject(MUIC_Dtpic, {MUIA_Dtpic_Name, first.c_str()});
        pictureGroup_ = MUI_NewObject(MUIC_Group, {MUIA_Group_Child, picture_});
        Object *row = MUI_NewObject(MUIC_Group, {MUIA_Group_Horiz, TRUE, MUIA_Group_Child, check_,
                                                 MUIA_Group_Child,
                                                 MUI_MakeObject(MUIO_Label, "<b>Option</b>", 0),
                                                 MUIA_Group_Child, MUI_MakeObject(MUIO_HSpace, 0)});
        listview_ = MUI_NewObject(MUIC_Listview, {MUIA_Listview_Input, TRUE, MUIA_CycleChain, 1,
                                                  MUIA_Listview_List, list_});
        Object *root = MUI_NewObject(MUIC_Group, {MUIA_Group_Child, row, MUIA_Group_Child, cycle_,
                                                  MUIA_Group_Child, listview_, MUIA_Group_Child,
                                                  pictureGroup_, MUIA_Group_Child, button_});
        win_ = MUI_NewObject(MUIC_Window, {MUIA_Window_Title, "Widget test", MUIA_Window_Width, 300,
                                           MUIA_Window_ID, windowId, MUIA_Window_RootObject, root,
                                           MUIA_Window_DefaultObject, listview_});
        app_ = NewObject(appClass_->mcc_Class, nullptr,
                         {MUIA_Application_Base, "WIDGETTEST", MUIA_Application_Window, win_});
        for (auto [object, attribute, trigger] :
             {std::tuple{check_, MUIA_Selected, MUIV_EveryTime},
              {cycle_, MUIA_Cycle_Active, MUIV_EveryTime},
              {list_, MUIA_List_Active, MUIV_EveryTime},
              {button_, MUIA_Pressed, IPTR(FALSE)},
              {listview_, MUIA_Listview_DoubleClick, IPTR(TRUE)},
              {win_, MUIA_Window_CloseRequest, MUIV_EveryTime}})
            IDoMethod(object, MUIM_Notify, attribute, trigger, app_, 3, kRecord, object,
                      MUIV_TriggerValue);
        SetAttrs(win_, MUIA_Window_Open, TRUE, TAG_DONE);
        ASSERT_NE(Window(), nullptr);
    }
    void Reopen(ULONG windowId) {
        MUI_DisposeObject(std::exchange(app_, nullptr));
        MakeApplication(windowId);
    }

    // Applies the queued input; returns the application's signals.
    ULONG RunInput() {
        ULONG signals = 0;
        IDoMethod(app_, MUIM_Application_NewInput, &signals);
        QApplication::processEvents();
        return signals;
    }
    // The action became exactly one notification, and only inside NewInput.
    void ExpectOneChange(Object *source, IPTR value) {
        EXPECT_TRUE(g_events.empty()) << "a notification ran outside NewInput";
        RunInput();
        EXPECT_EQ(std::exchange(g_events, {}), (Events{{source, value}}));
        RunInput();
        EXPECT_TRUE(g_events.empty());
    }

    QWidget *Window() const {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == "Widget test")
                return widget;
        return nullptr;
    }
    // The only widget of type W in the window (not in a pop-up of it) that `wanted` accepts.
    template <class W> W *One(std::function<bool(W *)> wanted = [](W *) { return true; }) const {
        QList<W *> found;
        for (W *widget : Window()->findChildren<W *>())
            if (widget->window() == Window() && wanted(widget))
                found.push_back(widget);
        if (found.size() != 1)
            throw std::runtime_error("no single widget of the wanted kind");
        return found.front();
    }
    QLabel *Label(const QString &text) const {
        return One<QLabel>([&](QLabel *label) { return label->text() == text; });
    }
    QImage Picture() const { return Label("")->pixmap().toImage(); } // the only label without text
    static void ClickRow(QAbstractItemView *view, int row, bool twice = false) {
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        if (twice) // through the window, as the window system sends it
            QTest::mouseDClick(view->window()->windowHandle(), Qt::LeftButton, {},
                               view->viewport()->mapTo(view->window(), at));
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    // A picture of one colour, in `format` whatever the name's extension.
    std::string WritePicture(const char *name, int width, int height, unsigned rgb,
                             const char *format = "PNG") const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(rgb));
        EXPECT_TRUE(image.save(QString::fromStdString((dir_ / name).string()), format));
        return (dir_ / name).string();
    }
    // Replaces the picture group's child, as a program swaps a picture.
    void SwapPicture(const std::string &name) {
        ASSERT_TRUE(IDoMethod(pictureGroup_, MUIM_Group_InitChange));
        IDoMethod(pictureGroup_, OM_REMMEMBER, picture_);
        MUI_DisposeObject(picture_);
        picture_ = MUI_NewObject(MUIC_Dtpic, {MUIA_Dtpic_Name, name.c_str()});
        IDoMethod(pictureGroup_, OM_ADDMEMBER, picture_);
        IDoMethod(pictureGroup_, MUIM_Group_ExitChange);
    }

    TempDir temp_;
    const fs::path &dir_ = temp_.path();
    struct Library *mui_ = nullptr;
    struct MUI_CustomClass *appClass_ = nullptr, *listClass_ = nullptr;
    Object *app_ = nullptr, *win_ = nullptr, *check_, *cycle_, *list_, *listview_, *button_,
           *picture_, *pictureGroup_;
};

TEST_F(WindowTest, TheWindowMirrorsItsTreeAndFollowsTheProgram) {
    EXPECT_EQ(One<QPushButton>()->text(), "G&o on"); // the key letter underlined
    EXPECT_EQ(One<QComboBox>()->itemText(2), "Three");
    EXPECT_EQ(One<QListView>()->currentIndex().row(), 0);
    EXPECT_EQ(One<QListView>()->model()->index(7, 0).data().toString(), "e7");
    EXPECT_EQ(g_entryReads, 0) << "the list's entries were read through its methods";
    EXPECT_EQ(Label("<b>Option</b>")->textFormat(), Qt::PlainText); // markup shows as it is

    // Tab walks the cycle chain only: check mark, then the list.
    QApplication::setActiveWindow(Window());
    One<QCheckBox>()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), One<QListView>());

    // The program's sets show, not as input; its notifications run at once.
    const ULONG signals = RunInput();
    SetAttrs(check_, MUIA_Selected, TRUE, TAG_DONE);
    SetAttrs(cycle_, MUIA_Cycle_Active, 1, TAG_DONE);
    SetAttrs(list_, MUIA_List_Active, 6, TAG_DONE);
    SetAttrs(button_, MUIA_Text_Contents, "Again", MUIA_Disabled, TRUE, TAG_DONE);
    EXPECT_EQ(std::exchange(g_events, {}), (Events{{check_, TRUE}, {cycle_, 1}, {list_, 6}}));
    EXPECT_TRUE(One<QCheckBox>()->isChecked());
    EXPECT_EQ(One<QComboBox>()->currentIndex(), 1);
    EXPECT_EQ(One<QListView>()->currentIndex().row(), 6);
    EXPECT_EQ(One<QPushButton>()->text(), "Again"); // no 'o' to underline
    EXPECT_FALSE(One<QPushButton>()->isEnabled());
    EXPECT_EQ(SetSignal(0, 0) & signals, 0u) << "a program's set came back as input";

    SetAttrs(list_, MUIA_List_Active, MUIV_List_Active_Off, TAG_DONE);
    EXPECT_FALSE(One<QListView>()->currentIndex().isValid());
    QTest::keyClick(Window(), 'o'); // a disabled button's key does nothing
    RunInput();
    EXPECT_EQ(std::exchange(g_events, {}), (Events{{list_, IPTR(-1)}}));
    // With no entry active, taking the keyboard selects nothing; Down then takes the top one.
    One<QListView>()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(One<QListView>(), Qt::Key_Down);
    ExpectOneChange(list_, 0);
    SetAttrs(list_, MUIA_List_Active, MUIV_List_Active_Off, TAG_DONE);
    g_events.clear();
    QTest::keyClick(One<QListView>(), Qt::Key_End); // from no entry to the last
    ExpectOneChange(list_, 7);
}

// Wait() runs Qt asleep until a signal of its mask; another one stays pending.
TEST_F(WindowTest, EachUserActionIsOneChangeInsideNewInput) {
    const ULONG signals = RunInput(), other = 1UL << AllocSignal(-1);
    QTimer::singleShot(10, [other] { Signal(FindTask(nullptr), other); });
    QTimer::singleShot(300, [this] { QTest::mouseClick(One<QCheckBox>(), Qt::LeftButton); });
    const std::clock_t cpu = std::clock();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Wait(signals | SIGBREAKF_CTRL_C), signals);
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(double(std::clock() - cpu) / CLOCKS_PER_SEC, waited.count() / 2) << "Wait() spins";
    EXPECT_EQ(SetSignal(0, other), other);
    ExpectOneChange(check_, TRUE);

    One<QComboBox>()->showPopup();
    ClickRow(One<QComboBox>()->view(), 2);
    ExpectOneChange(cycle_, 2);
    ClickRow(One<QListView>(), 3);
    ExpectOneChange(list_, 3);
    QTest::keyClick(One<QListView>(), Qt::Key_Down);
    ExpectOneChange(list_, 4);
    QTest::keyClick(One<QListView>(), Qt::Key_Return); // the list view's double click,
    ExpectOneChange(listview_, TRUE);
    ClickRow(One<QListView>(), 4, true); // which fires again
    ExpectOneChange(listview_, TRUE);
    QTest::mouseClick(One<QPushButton>(), Qt::LeftButton);
    ExpectOneChange(button_, FALSE);
    QTest::keyClick(One<QListView>(), 'o'); // the button's key, typed into the list
    ExpectOneChange(button_, FALSE);
    EXPECT_EQ(One<QListView>()->currentIndex().row(), 4) << "the key also reached the list";
    QTest::keyClick(One<QListView>(), 'E'); // no gadget's key, no search: nothing happens
    // A press released elsewhere lets go without acting.
    QTest::mousePress(One<QPushButton>(), Qt::LeftButton);
    QTest::mouseRelease(One<QPushButton>(), Qt::LeftButton, {}, QPoint(-20, -20));
    RunInput();
    IPTR pressed = TRUE;
    GetAttr(MUIA_Pressed, button_, &pressed);
    EXPECT_TRUE(g_events.empty());
    EXPECT_FALSE(pressed);
    for (int request = 0; request < 2 && Window(); ++request) { // the close button asks, again
        Window()->close();
        ExpectOneChange(win_, TRUE);
    }
    EXPECT_NE(Window(), nullptr);

    QTimer::singleShot(20, [] { std::raise(SIGTERM); });
    EXPECT_EQ(Wait(signals | SIGBREAKF_CTRL_C), SIGBREAKF_CTRL_C);
}

TEST_F(WindowTest, GroupChangeSwapsThePicture) {
    SwapPicture(WritePicture("big.png", 600, 2000, 0xc03030));
    EXPECT_EQ(Picture().pixelColor(5, 5), QColor::fromRgb(0xc03030));
    EXPECT_TRUE(Label("")->isVisible());
    // The window grows to the screen, the picture scaled into it, keeping its shape.
    EXPECT_GT(Window()->height(), Window()->screen()->availableSize().height() * 9 / 10);
    EXPECT_NEAR(Label("")->height() * 600.0 / 2000, Label("")->width(), 1.0);
    // The format comes from the data: a JPEG under a .png name shows.
    SwapPicture(WritePicture("jpeg.png", 40, 30, 0x808080, "JPEG"));
    EXPECT_EQ(Picture().pixelColor(5, 5), QColor::fromRgb(0x808080));
    SwapPicture((dir_ / "missing.png").string()); // an empty picture, and a working window
    EXPECT_TRUE(Picture().isNull());
    // A picture loaded to check it is shown as the file is now, changed since.
    const std::string checked = WritePicture("checked.png", 40, 30, 0x101010);
    DisposeDTObject(NewDTObject(checked.c_str(), TAG_DONE));
    SwapPicture(WritePicture("checked.png", 40, 30, 0x202020));
    EXPECT_EQ(Picture().pixelColor(5, 5), QColor::fromRgb(0x202020));
    // A folder name that is no UTF-8 (Latin-1 "cafe" with an accent) is fine.
    fs::create_directory(dir_ / "caf\xe9");
    fs::rename(WritePicture("small.png", 20, 20, 0x30c030), dir_ / "caf\xe9" / "small.png");
    SwapPicture((dir_ / "caf\xe9" / "small.png").string());
    EXPECT_FALSE(Picture().isNull());
}

TEST_F(WindowTest, PlacementSurvivesReopenInANewApplication) {
    Window()->move(130, 140);
    Window()->resize(420, 610);
    SetAttrs(win_, MUIA_Window_Open, FALSE, TAG_DONE);
    Reopen(kWindowId);
    EXPECT_EQ(QRect(Window()->pos(), Window()->size()), QRect(130, 140, 420, 610));

    // A placement that cannot be on this screen is fitted to it, and remembered so.
    MUI_DisposeObject(std::exchange(app_, nullptr));
    std::ofstream(dir_ / "config/mui/windows.geometry")
        << "54455354 -20000 20000 30000 30000 WIDGETTEST\n";
    MakeApplication(kWindowId);
    EXPECT_TRUE(Window()->screen()->availableGeometry().contains(Window()->frameGeometry()));
    SetAttrs(win_, MUIA_Window_Open, FALSE, TAG_DONE);
    Reopen(kWindowId + 1); // another id: the toolkit's width
    EXPECT_EQ(Window()->width(), 300);
    EXPECT_EQ(temp_.Read("config/mui/windows.geometry").find("30000"), std::string::npos);
}

// Names show as their bytes are: UTF-8, else Latin-1; controls that would
// reorder or hide text show as marks.
TEST(ShownTextTest, NamesShowAsTheirBytesAre) {
    const std::pair<std::string, std::string> cases[] = {
        {"Caf\xc3\xa9.rom", "Caf\xc3\xa9.rom"},
        {"Caf\xe9.rom", "Caf\xc3\xa9.rom"},
        {"Caf\xe8.rom", "Caf\xc3\xa8.rom"},
        {"\xf0\x9f\x8e\xae", "\xf0\x9f\x8e\xae"},
        {"a\xe2\x80\xaez.rom", "a\xe2\x80\xb9RLO\xe2\x80\xbaz.rom"},
        {"x\xe2\x81\xa6y\xe2\x80\x8f", "x\xe2\x80\xb9LRI\xe2\x80\xbay\xe2\x80\xb9RLM\xe2\x80\xba"},
        {"tab\tor\nline", "tab\xe2\x90\x89or\xe2\x90\x8aline"},
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"}}; // a surrogate is no UTF-8
    for (const auto &[bytes, shown] : cases)
        EXPECT_EQ(ShownText(bytes).toStdString(), shown) << bytes;
    EXPECT_EQ(ShownText("two\nlines", true), QString("two\nlines"));
}

// A virtual controller plugged in while it lives; each change read at once.
struct Pad {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick *joystick = SDL_JoystickOpen(index);
    ~Pad() {
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(index);
    }
    void Tap(SDL_GameControllerButton button) {
        for (bool down : {true, false}) {
            SDL_JoystickSetVirtualButton(joystick, button, down);
            platform::qt::LookForControllers();
        }
    }
    void Stick(Sint16 y) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, y);
        platform::qt::LookForControllers();
    }
};

TEST_F(WindowTest, AGameControllerWorksTheWindowAsKeysDo) {
    using platform::qt::LookForControllers;
    SDL_InitSubSystem(SDL_INIT_JOYSTICK); // for the pad, while windows come and go
    QApplication::setActiveWindow(Window());
    EXPECT_EQ(LookForControllers(), 0);
    auto pad = std::make_unique<Pad>(); // plugged in with the window open
    EXPECT_EQ(LookForControllers(), 1);
    // D-pad: the cursor keys, Tab and Shift+Tab; A and Start activate; B refocuses.
    const std::pair<std::vector<SDL_GameControllerButton>, Events> steps[] = {
        {{SDL_CONTROLLER_BUTTON_DPAD_DOWN}, {{list_, 1}}},
        {{SDL_CONTROLLER_BUTTON_A}, {{listview_, TRUE}}}, // A on the list: its double click
        {{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_A}, {{button_, FALSE}}},
        {{SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
          SDL_CONTROLLER_BUTTON_A},
         {{check_, TRUE}}},
        {{SDL_CONTROLLER_BUTTON_START}, {{listview_, TRUE}}}, // the default object's
        {{SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_DPAD_UP}, {{list_, 0}}}};
    for (const auto &[buttons, events] : steps) {
        for (SDL_GameControllerButton button : buttons)
            pad->Tap(button);
        RunInput();
        EXPECT_EQ(std::exchange(g_events, {}), events) << buttons.front();
    }
    // A chooser: Down, and A for its next entry, after the last the first.
    One<QComboBox>()->setFocus();
    for (auto [button, entry] : {std::pair{SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1},
                                 {SDL_CONTROLLER_BUTTON_A, 2},
                                 {SDL_CONTROLLER_BUTTON_A, 0}}) {
        pad->Tap(button);
        ExpectOneChange(cycle_, entry);
    }
    // The stick held down repeats until let go.
    pad->Tap(SDL_CONTROLLER_BUTTON_B);
    pad->Stick(SDL_JOYSTICK_AXIS_MAX);
    for (int tries = 0; tries < 500 && g_events.size() < 3; ++tries) {
        QTest::qWait(10);
        RunInput();
    }
    pad->Stick(0);
    RunInput();
    const Events held = std::exchange(g_events, {});
    QTest::qWait(300);
    RunInput();
    EXPECT_TRUE(g_events.empty()) << "the stick let go still repeats";
    ASSERT_GE(held.size(), 3u);
    EXPECT_EQ(Events(held.begin(), held.begin() + 3), (Events{{list_, 1}, {list_, 2}, {list_, 3}}));
    // Another window active (the emulator's): the controller is not the launcher's.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    for (auto button : {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_START})
        pad->Tap(button);
    RunInput();
    EXPECT_TRUE(g_events.empty());

    // A new window finds the pad at once; unplugged, it is gone.
    Reopen(kWindowId);
    EXPECT_EQ(LookForControllers(), 1);
    pad.reset();
    EXPECT_EQ(LookForControllers(), 0);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);

    // Real controllers come and go as nodes of a device folder.
    int changes = 0;
    platform::qt::DeviceWatch watch(dir_.c_str(), [&] { ++changes; });
    std::ofstream(dir_ / "event7").put('\n');
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes > 0; }));
    fs::remove(dir_ / "event7");
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes > 1; }));
}

TEST(GeometryStoreTest, KeepsEntriesApartSkipsDamageAndFailsCleanly) {
    const TempDir temp;
    const fs::path &dir = temp.path(), file = dir / "sub/windows";
    const GeometryStore store(file); // folders are made on first save
    EXPECT_FALSE(store.Load("APP", 1));
    ASSERT_TRUE(store.Save("APP", 1, {10, 20, 300, 400}));
    const std::tuple<std::string, ULONG, WindowGeometry> kept[] = {
        {"APP", 1, {7, 8, 9, 10}}, {"APP", 2, {-5, 0, 640, 480}}, {"OTHER APP", 1, {1, 2, 3, 4}}};
    for (const auto &[base, id, geometry] : kept) // the first replaces the one saved
        ASSERT_TRUE(store.Save(base, id, geometry));
    for (const auto &[base, id, geometry] : kept)
        EXPECT_EQ(store.Load(base, id), geometry) << base << id;

    // Damaged lines are ignored, and dropped at the next save.
    std::ofstream(file, std::ios::app)
        << "garbage\n0000000A 1 2 0 5 APP\n0000000B 1 2 99999999 5 APP\n0000000C 1 2 30 40\n";
    for (ULONG damaged : {0xAu, 0xBu})
        EXPECT_FALSE(store.Load("APP", damaged)) << damaged;
    ASSERT_TRUE(store.Save("APP", 3, {0, 0, 9, 9}));
    EXPECT_EQ(temp.Read("sub/windows").find("garbage"), std::string::npos);
    EXPECT_EQ(store.Load("APP", 2), (WindowGeometry{-5, 0, 640, 480}));

    // A name that would split a line, or a place that cannot be written.
    EXPECT_FALSE(store.Save("TWO\nLINES", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(store.Save("", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(GeometryStore(file / "x").Save("APP", 1, {0, 0, 9, 9}));
    EXPECT_EQ(store.Load("APP", 3), (WindowGeometry{0, 0, 9, 9}));
    EXPECT_FALSE(fs::exists(dir / "sub/windows.new"));

    // The same placement writes nothing (what a save replaces: the settings test).
    struct stat before = {}, after = {};
    ::stat(file.c_str(), &before);
    ASSERT_TRUE(store.Save("APP", 3, {0, 0, 9, 9}));
    ::stat(file.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // Without a file name (no settings folder) nothing is written anywhere.
    const fs::path was = fs::current_path();
    fs::current_path(dir);
    EXPECT_FALSE(GeometryStore("").Save("APP", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(fs::exists(dir / ".new"));
    fs::current_path(was);
}
