#include "widget_fixture.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <cstdlib>

namespace widgets_test {
namespace {

constexpr ULONG kRecord = 0x7E570001; // the application class's own method

std::vector<Event> g_events;
bool g_insideNewInput = false;

IPTR RecorderDispatcher(struct IClass *cl, Object *obj, Msg msg) {
    switch (msg->MethodID) {
    case kRecord: {
        const IPTR *slots = reinterpret_cast<IPTR *>(msg);
        g_events.push_back({slots[1], slots[2], g_insideNewInput});
        return 0;
    }
    case MUIM_Application_NewInput: {
        g_insideNewInput = true;
        const IPTR result = IDoSuperMethodA(cl, obj, msg);
        g_insideNewInput = false;
        return result;
    }
    default:
        return IDoSuperMethodA(cl, obj, msg);
    }
}

const char *const kCycleEntries[] = {"One", "Two", "Three", nullptr};

void Report(Object *object, Tag attribute, IPTR trigger, Object *app, IPTR id) {
    IDoMethod(object, MUIM_Notify, attribute, trigger, app, 3, kRecord, id, MUIV_TriggerValue);
}

} // namespace

void WidgetTest::SetUp() {
    dir_ = std::filesystem::temp_directory_path() /
           ("widgets-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1); // ENVARC:
    g_events.clear();
    mui_ = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
    ASSERT_NE(mui_, nullptr);
    appClass_ = MUI_CreateCustomClass(nullptr, MUIC_Application, nullptr, 0, RecorderDispatcher);
    ASSERT_NE(appClass_, nullptr);
    for (int i = 0; i < 40; ++i)
        names_.push_back("Entry " + std::to_string(i));
    for (const std::string &name : names_)
        nameArray_.push_back(name.c_str());
    nameArray_.push_back(nullptr);
}

void WidgetTest::TearDown() {
    if (win_)
        SetAttrs(win_, MUIA_Window_Open, FALSE, TAG_DONE);
    MUI_DisposeObject(app_);
    MUI_DeleteCustomClass(appClass_);
    if (mui_)
        CloseLibrary(mui_);
    std::filesystem::remove_all(dir_);
}

Object *WidgetTest::MakeApplication(const char *base, ULONG windowId) {
    const std::string picture = WritePng("first.png", 40, 30, 0x3060c0);
    Object *check =
        MUI_NewObject(MUIC_Image, {MUIA_Frame, MUIV_Frame_ImageButton, MUIA_InputMode,
                                   MUIV_InputMode_Toggle, MUIA_Image_Spec, MUII_CheckMark,
                                   MUIA_CycleChain, 1, MUIA_UserData, kCheck, TAG_DONE});
    Object *cycle = MUI_NewObject(
        MUIC_Cycle, {MUIA_Cycle_Entries, kCycleEntries, MUIA_UserData, kCycle, TAG_DONE});
    Object *list =
        MUI_NewObject(MUIC_List, {MUIA_List_SourceArray, nameArray_.data(), MUIA_List_Active,
                                  MUIV_List_Active_Top, MUIA_UserData, kList, TAG_DONE});
    Object *button =
        MUI_NewObject(MUIC_Text, {MUIA_Text_Contents, "Go on", MUIA_Text_PreParse, "\033c",
                                  MUIA_Frame, MUIV_Frame_Button, MUIA_InputMode,
                                  MUIV_InputMode_RelVerify, MUIA_Text_HiChar, 'o', MUIA_ControlChar,
                                  'o', MUIA_CycleChain, 1, MUIA_UserData, kButton, TAG_DONE});
    win_ = MUI_NewObject(
        MUIC_Window,
        {MUIA_Window_Title, "Widget test", MUIA_Window_Width, 300, MUIA_Window_ID, windowId,
         MUIA_Window_RootObject,
         MUI_NewObject(
             MUIC_Group,
             {MUIA_Group_Child,
              MUI_NewObject(MUIC_Text,
                            {MUIA_Text_Contents, "Title <b>not bold</b>", MUIA_Text_PreParse,
                             "\033c", MUIA_UserData, kTitle, TAG_DONE}),
              MUIA_Group_Child,
              MUI_NewObject(MUIC_Group,
                            {MUIA_Group_Horiz, TRUE, MUIA_Group_Child, check, MUIA_Group_Child,
                             MUI_MakeObject(MUIO_Label, "Option", 0), MUIA_Group_Child,
                             MUI_MakeObject(MUIO_HSpace, 0), TAG_DONE}),
              MUIA_Group_Child, cycle, MUIA_Group_Child,
              MUI_NewObject(MUIC_Listview,
                            {MUIA_Listview_Input, TRUE, MUIA_Listview_List, list, TAG_DONE}),
              MUIA_Group_Child,
              MUI_NewObject(MUIC_Group,
                            {MUIA_UserData, kPictureGroup, MUIA_Group_Child,
                             MUI_NewObject(MUIC_Dtpic, {MUIA_Dtpic_Name, picture.c_str(),
                                                        MUIA_UserData, kPicture, TAG_DONE}),
                             TAG_DONE}),
              MUIA_Group_Child, button, TAG_DONE}),
         TAG_DONE});
    app_ = NewObject(appClass_->mcc_Class, nullptr,
                     {MUIA_Application_Base, base, MUIA_Application_Window, win_, TAG_DONE});
    if (!app_)
        return nullptr;
    Report(check, MUIA_Selected, MUIV_EveryTime, app_, kCheck);
    Report(cycle, MUIA_Cycle_Active, MUIV_EveryTime, app_, kCycle);
    Report(list, MUIA_List_Active, MUIV_EveryTime, app_, kList);
    Report(button, MUIA_Pressed, FALSE, app_, kButton);
    Report(win_, MUIA_Window_CloseRequest, TRUE, app_, 0);
    return app_;
}

void WidgetTest::OpenWindow(bool open) {
    SetAttrs(win_, MUIA_Window_Open, open, TAG_DONE);
    if (open) {
        ASSERT_NE(Window(), nullptr);
    }
}

void WidgetTest::RunInput() {
    ULONG signals = 0;
    IDoMethod(app_, MUIM_Application_NewInput, &signals);
    QApplication::processEvents();
}

std::vector<Event> WidgetTest::TakeEvents() {
    return std::exchange(g_events, {});
}

Object *WidgetTest::Find(IPTR id) const {
    return reinterpret_cast<Object *>(IDoMethod(app_, MUIM_FindUData, id));
}

QWidget *WidgetTest::Window() const {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == "Widget test")
            return widget;
    return nullptr;
}

std::string WidgetTest::WritePng(const char *name, int width, int height, unsigned rgb) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(rgb));
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
}

} // namespace widgets_test
