// The Qt view driven as a user would, on a small window: a check mark, a
// cycle gadget, a list, a push button and a picture group. Every gadget
// reports its changes to a custom application class that notes whether the
// notification ran inside MUIM_Application_NewInput.
#include <dos/dos.h>
#include <libraries/mui.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

enum Id : IPTR { kCheck = 1, kCycle, kList, kButton, kPicture, kPictureGroup, kTitle };
constexpr ULONG kRecord = 0x7E570001; // the application class's own method

struct Event {
    IPTR source, value;
    bool insideNewInput;
    bool operator==(const Event &) const = default;
};
std::vector<Event> g_events;
bool g_insideNewInput = false;

IPTR RecorderDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    if (msg->MethodID == kRecord) {
        const IPTR *slots = reinterpret_cast<IPTR *>(msg);
        g_events.push_back({slots[1], slots[2], g_insideNewInput});
        return 0;
    }
    if (msg->MethodID != MUIM_Application_NewInput)
        return IDoSuperMethodA(cl, obj, msg);
    g_insideNewInput = true;
    const IPTR result = IDoSuperMethodA(cl, obj, msg);
    g_insideNewInput = false;
    return result;
}

const char *const kCycleEntries[] = {"One", "Two", "Three", nullptr};

class WidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("widgets-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1); // ENVARC:
        g_events.clear();
        mui_ = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
        ASSERT_NE(mui_, nullptr);
        appClass_ =
            MUI_CreateCustomClass(nullptr, MUIC_Application, nullptr, 0, RecorderDispatcher);
        for (int i = 0; i < 40; ++i)
            names_.push_back("Entry " + std::to_string(i));
        for (const std::string &name : names_)
            nameArray_.push_back(name.c_str());
        nameArray_.push_back(nullptr);
    }

    void TearDown() override {
        MUI_DisposeObject(app_);
        MUI_DeleteCustomClass(appClass_);
        CloseLibrary(mui_);
        std::filesystem::remove_all(dir_);
    }

    // A new application with the test window, open.
    void MakeApplication(const char *base, ULONG windowId) {
        auto make = [](const char *cls, std::initializer_list<TagArg> tags) {
            return MUI_NewObject(cls, tags);
        };
        const std::string picture = WritePicture("first.png", 40, 30, 0x3060c0);
        Object *check =
            make(MUIC_Image, {MUIA_InputMode, MUIV_InputMode_Toggle, MUIA_Image_Spec,
                              MUII_CheckMark, MUIA_CycleChain, 1, MUIA_UserData, kCheck});
        Object *cycle =
            make(MUIC_Cycle, {MUIA_Cycle_Entries, kCycleEntries, MUIA_UserData, kCycle});
        Object *list = make(MUIC_List, {MUIA_List_SourceArray, nameArray_.data(), MUIA_List_Active,
                                        MUIV_List_Active_Top, MUIA_UserData, kList});
        Object *button =
            make(MUIC_Text, {MUIA_Text_Contents, "Go on", MUIA_Frame, MUIV_Frame_Button,
                             MUIA_InputMode, MUIV_InputMode_RelVerify, MUIA_Text_HiChar, 'o',
                             MUIA_ControlChar, 'o', MUIA_CycleChain, 1, MUIA_UserData, kButton});
        Object *root = make(
            MUIC_Group,
            {MUIA_Group_Child,
             make(MUIC_Text, {MUIA_Text_Contents, "Title <b>not bold</b>", MUIA_UserData, kTitle}),
             MUIA_Group_Child,
             make(MUIC_Group, {MUIA_Group_Horiz, TRUE, MUIA_Group_Child, check, MUIA_Group_Child,
                               MUI_MakeObject(MUIO_Label, "Option", 0), MUIA_Group_Child,
                               MUI_MakeObject(MUIO_HSpace, 0)}),
             MUIA_Group_Child, cycle, MUIA_Group_Child,
             make(MUIC_Listview, {MUIA_Listview_Input, TRUE, MUIA_Listview_List, list}),
             MUIA_Group_Child,
             make(MUIC_Group,
                  {MUIA_UserData, kPictureGroup, MUIA_Group_Child,
                   make(MUIC_Dtpic, {MUIA_Dtpic_Name, picture.c_str(), MUIA_UserData, kPicture})}),
             MUIA_Group_Child, button});
        win_ = make(MUIC_Window, {MUIA_Window_Title, "Widget test", MUIA_Window_Width, 300,
                                  MUIA_Window_ID, windowId, MUIA_Window_RootObject, root});
        app_ = NewObject(appClass_->mcc_Class, nullptr,
                         {MUIA_Application_Base, base, MUIA_Application_Window, win_, TAG_DONE});
        ASSERT_NE(app_, nullptr);
        Report(check, MUIA_Selected, MUIV_EveryTime, kCheck);
        Report(cycle, MUIA_Cycle_Active, MUIV_EveryTime, kCycle);
        Report(list, MUIA_List_Active, MUIV_EveryTime, kList);
        Report(button, MUIA_Pressed, FALSE, kButton);
        Report(win_, MUIA_Window_CloseRequest, TRUE, 0);
        SetAttrs(win_, MUIA_Window_Open, TRUE, TAG_DONE);
        ASSERT_NE(Window(), nullptr);
    }

    void Report(Object *object, Tag attribute, IPTR trigger, IPTR id) {
        IDoMethod(object, MUIM_Notify, attribute, trigger, app_, 3, kRecord, id, MUIV_TriggerValue);
    }

    void RunInput() {
        ULONG signals = 0;
        IDoMethod(app_, MUIM_Application_NewInput, &signals);
        QApplication::processEvents();
    }

    // The action became exactly one notification, and only inside NewInput.
    void ExpectOneChange(IPTR source, IPTR value) {
        EXPECT_TRUE(g_events.empty()) << "a notification ran outside NewInput";
        RunInput();
        EXPECT_EQ(TakeEvents(), (std::vector<Event>{{source, value, true}}));
        RunInput();
        EXPECT_TRUE(g_events.empty());
    }

    static std::vector<Event> TakeEvents() { return std::exchange(g_events, {}); }

    Object *Find(IPTR id) const {
        return reinterpret_cast<Object *>(IDoMethod(app_, MUIM_FindUData, id));
    }
    IPTR Get(IPTR id, Tag attribute) const {
        IPTR value = 0;
        GetAttr(attribute, Find(id), &value);
        return value;
    }

    QWidget *Window() const {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == "Widget test")
                return widget;
        return nullptr;
    }
    // The only widget of type W in the window (not in a pop-up of it).
    template <class W> W *One() const {
        QList<W *> found;
        for (W *widget : Window()->findChildren<W *>())
            if (widget->window() == Window())
                found.push_back(widget);
        if (found.size() != 1)
            throw std::runtime_error("no single widget of the wanted type");
        return found.front();
    }

    // A picture of one colour, in `format` whatever the name's extension.
    std::string WritePicture(const char *name, int width, int height, unsigned rgb,
                             const char *format = "PNG") const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(rgb));
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        return path;
    }

    std::filesystem::path dir_;
    struct Library *mui_ = nullptr;
    struct MUI_CustomClass *appClass_ = nullptr;
    Object *app_ = nullptr;
    Object *win_ = nullptr;
    std::vector<std::string> names_;
    std::vector<const char *> nameArray_;
};

class WindowTest : public WidgetTest {
  protected:
    void SetUp() override {
        WidgetTest::SetUp();
        MakeApplication("WIDGETTEST", 0x54455354);
    }
};

TEST_F(WindowTest, TheWindowMirrorsItsTree) {
    EXPECT_EQ(Window()->width(), 300);
    EXPECT_EQ(One<QPushButton>()->text(), "G&o on"); // the key letter underlined
    EXPECT_EQ(One<QComboBox>()->itemText(2), "Three");
    EXPECT_EQ(One<QListView>()->currentIndex().row(), 0);
    for (QLabel *label : Window()->findChildren<QLabel *>()) {
        if (label->text().startsWith("Title")) { // markup in a string shows as it is
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        }
    }

    const std::filesystem::path shot = std::filesystem::path(WIDGETS_OUTPUT_DIR) / "window.png";
    std::filesystem::create_directories(shot.parent_path()); // for a person to look at
    EXPECT_TRUE(Window()->grab().save(QString::fromStdString(shot.string()), "PNG"));

    // Tab walks the cycle chain only: check mark, then the button.
    QApplication::setActiveWindow(Window());
    One<QCheckBox>()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), One<QPushButton>());
}

TEST_F(WindowTest, EachUserActionIsOneChangeInsideNewInput) {
    QTest::mouseClick(One<QCheckBox>(), Qt::LeftButton);
    ExpectOneChange(kCheck, TRUE);
    EXPECT_EQ(Get(kCheck, MUIA_Selected), TRUE);

    QComboBox *combo = One<QComboBox>();
    combo->showPopup();
    QAbstractItemView *popup = combo->view();
    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {},
                      popup->visualRect(popup->model()->index(2, 0)).center());
    ExpectOneChange(kCycle, 2);
    EXPECT_EQ(Get(kCycle, MUIA_Cycle_Active), 2u);

    QListView *list = One<QListView>();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(3, 0)).center());
    ExpectOneChange(kList, 3);
    QTest::keyClick(list, Qt::Key_Down);
    ExpectOneChange(kList, 4);
    EXPECT_EQ(Get(kList, MUIA_List_Active), 4u);

    QTest::mouseClick(One<QPushButton>(), Qt::LeftButton);
    ExpectOneChange(kButton, FALSE);

    QTest::keyClick(list, 'o'); // the button's key, typed while the list has focus
    ExpectOneChange(kButton, FALSE);
    EXPECT_EQ(list->currentIndex().row(), 4) << "the key also reached the list";
    QTest::keyClick(list, 'E'); // no gadget's key, and no search for an entry: nothing happens
    RunInput();
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(WindowTest, PressReleasedElsewhereAndCloseButtonDoNotAct) {
    QPushButton *button = One<QPushButton>();
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    RunInput();
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(Get(kButton, MUIA_Pressed), FALSE);

    // The close button asks, every time, and leaves the window open.
    for (int request = 0; request < 2; ++request) {
        Window()->close();
        EXPECT_NE(Window(), nullptr);
        ExpectOneChange(0, TRUE);
    }
    IPTR open = FALSE;
    GetAttr(MUIA_Window_Open, win_, &open);
    EXPECT_EQ(open, TRUE);
}

TEST_F(WindowTest, ProgramSetsShowWithoutEcho) {
    ULONG signals = 0;
    IDoMethod(app_, MUIM_Application_NewInput, &signals);
    SetAttrs(Find(kCheck), MUIA_Selected, TRUE, TAG_DONE);
    SetAttrs(Find(kCycle), MUIA_Cycle_Active, 1, TAG_DONE);
    SetAttrs(Find(kList), MUIA_List_Active, 25, TAG_DONE);
    SetAttrs(Find(kButton), MUIA_Text_Contents, "Again", TAG_DONE);
    SetAttrs(Find(kButton), MUIA_Disabled, TRUE, TAG_DONE);
    const std::vector<Event> direct = {
        {kCheck, TRUE, false}, {kCycle, 1, false}, {kList, 25, false}};
    EXPECT_EQ(TakeEvents(), direct); // the program's own notifications, at once

    EXPECT_TRUE(One<QCheckBox>()->isChecked());
    EXPECT_EQ(One<QComboBox>()->currentIndex(), 1);
    EXPECT_EQ(One<QListView>()->currentIndex().row(), 25);
    EXPECT_EQ(One<QPushButton>()->text(), "Again"); // no 'o' to underline
    EXPECT_FALSE(One<QPushButton>()->isEnabled());
    EXPECT_EQ(SetSignal(0, 0) & signals, 0u) << "a program's set came back as input";
    RunInput();
    EXPECT_TRUE(TakeEvents().empty());

    SetAttrs(Find(kList), MUIA_List_Active, MUIV_List_Active_Off, TAG_DONE);
    EXPECT_FALSE(One<QListView>()->currentIndex().isValid());
    QTest::keyClick(Window(), 'o'); // a disabled button's key does nothing
    RunInput();
    EXPECT_EQ(TakeEvents(), (std::vector<Event>{{kList, IPTR(-1), false}}));
    // With no entry active, taking the keyboard selects nothing; Down then takes the top one.
    One<QListView>()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(One<QListView>(), Qt::Key_Down);
    ExpectOneChange(kList, 0);
    SetAttrs(Find(kList), MUIA_List_Active, MUIV_List_Active_Off, TAG_DONE);
    TakeEvents();
    QTest::keyClick(One<QListView>(), Qt::Key_End); // from no entry to the last
    ExpectOneChange(kList, 39);
}

TEST_F(WindowTest, WaitWakesForInputAndForTheBreakSignal) {
    ULONG signals = 0;
    IDoMethod(app_, MUIM_Application_NewInput, &signals);
    ASSERT_NE(signals, 0u);
    QTimer::singleShot(20, [this] { QTest::mouseClick(One<QCheckBox>(), Qt::LeftButton); });
    EXPECT_EQ(Wait(signals | SIGBREAKF_CTRL_C), signals);
    ExpectOneChange(kCheck, TRUE);

    QTimer::singleShot(20, [] { std::raise(SIGTERM); });
    EXPECT_EQ(Wait(signals | SIGBREAKF_CTRL_C), SIGBREAKF_CTRL_C);
}

class LifecycleTest : public WidgetTest {
  protected:
    // The label that shows the picture: the only label without text.
    QLabel *PictureLabel() const {
        QList<QLabel *> found;
        for (QLabel *label : Window()->findChildren<QLabel *>())
            if (label->text().isEmpty())
                found.push_back(label);
        return found.size() == 1 ? found.front() : nullptr;
    }

    // Replaces the picture group's child, as a program swaps a picture.
    void SwapPicture(const std::string &name) {
        Object *group = Find(kPictureGroup);
        ASSERT_TRUE(IDoMethod(group, MUIM_Group_InitChange));
        Object *old = Find(kPicture);
        IDoMethod(group, OM_REMMEMBER, old);
        MUI_DisposeObject(old);
        IDoMethod(group, OM_ADDMEMBER,
                  MUI_NewObject(MUIC_Dtpic, {MUIA_Dtpic_Name, name.c_str(), MUIA_UserData, kPicture,
                                             TAG_DONE}));
        IDoMethod(group, MUIM_Group_ExitChange);
    }
};

TEST_F(LifecycleTest, GroupChangeSwapsThePicture) {
    MakeApplication("WIDGETTEST", 1);
    const QSize natural = Window()->size();
    const QRect screen = Window()->screen()->availableGeometry();
    SwapPicture(WritePicture("big.png", 600, 2000, 0xc03030));
    ASSERT_NE(PictureLabel(), nullptr);
    EXPECT_EQ(PictureLabel()->pixmap().toImage().pixelColor(5, 5), QColor::fromRgb(0xc03030));
    EXPECT_TRUE(PictureLabel()->isVisible());
    // The window makes room up to the screen; the picture, taller than that,
    // is scaled down to its room, keeping its shape.
    EXPECT_GT(Window()->height(), screen.height() * 9 / 10) << "the window did not make room";
    EXPECT_LE(Window()->frameGeometry().height(), screen.height());
    const QSize shown = PictureLabel()->size();
    EXPECT_NEAR(shown.height() * 600.0 / 2000, shown.width(), 1.0);
    // The format comes from the data: a JPEG under a .png name shows.
    SwapPicture(WritePicture("jpeg.png", 40, 30, 0x808080, "JPEG"));
    EXPECT_EQ(PictureLabel()->pixmap().toImage().pixelColor(5, 5), QColor::fromRgb(0x808080));

    // A missing or broken file leaves an empty picture and a working window,
    // which takes its own size again.
    SwapPicture((dir_ / "missing.png").string());
    ASSERT_NE(PictureLabel(), nullptr);
    EXPECT_TRUE(PictureLabel()->pixmap().isNull());
    EXPECT_EQ(Window()->size(), natural);
    std::ofstream(dir_ / "broken.png") << "not a picture";
    SwapPicture((dir_ / "broken.png").string());
    EXPECT_TRUE(PictureLabel()->pixmap().isNull());

    // A folder name that is no UTF-8 (Latin-1 "cafe" with an accent) is fine.
    const std::filesystem::path latin1 = dir_ / "caf\xe9";
    std::filesystem::create_directory(latin1);
    std::filesystem::rename(WritePicture("small.png", 20, 20, 0x30c030), latin1 / "small.png");
    SwapPicture((latin1 / "small.png").string());
    EXPECT_FALSE(PictureLabel()->pixmap().isNull());
}

TEST_F(LifecycleTest, PlacementSurvivesReopenInANewApplication) {
    MakeApplication("WIDGETTEST", 0x4D41494E);
    Window()->move(130, 140);
    Window()->resize(420, 610);
    SetAttrs(win_, MUIA_Window_Open, FALSE, TAG_DONE);
    EXPECT_EQ(Window(), nullptr);
    MUI_DisposeObject(std::exchange(app_, nullptr));

    MakeApplication("WIDGETTEST", 0x4D41494E);
    EXPECT_EQ(Window()->pos(), QPoint(130, 140));
    EXPECT_EQ(Window()->size(), QSize(420, 610));
    MUI_DisposeObject(std::exchange(app_, nullptr)); // disposing an open window remembers too

    // A placement that cannot be on this screen is fitted to it.
    std::ofstream(dir_ / "config/mui/windows.geometry")
        << "4D41494E -20000 20000 30000 30000 WIDGETTEST\n";
    MakeApplication("WIDGETTEST", 0x4D41494E);
    EXPECT_TRUE(Window()->screen()->availableGeometry().contains(Window()->frameGeometry()))
        << Window()->frameGeometry().x() << "," << Window()->frameGeometry().y() << " "
        << Window()->width() << "x" << Window()->height();
    SetAttrs(win_, MUIA_Window_Open, FALSE, TAG_DONE); // and remembered so
    std::ifstream file(dir_ / "config/mui/windows.geometry");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}).find("30000"),
              std::string::npos);
    MUI_DisposeObject(std::exchange(app_, nullptr));

    MakeApplication("WIDGETTEST", 0x4F544852); // another id: the toolkit's width
    EXPECT_EQ(Window()->width(), 300);
}

TEST(NoDisplayTest, OpeningFailsWithOneLine) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::close(pipeFds[0]);
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            ::unsetenv(name);
        struct Library *mui = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
        ::_exit(mui ? 1 : 0);
    }
    ::close(pipeFds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the toolkit opened";
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_NE(output.find("display"), std::string::npos) << output;
}

} // namespace
