// The Qt view on the offscreen platform: a window over 32,767 list entries
// opened and painted, and a 600x800 PNG picture swapped through a group
// change and painted.
#include <libraries/mui.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr IPTR kPictureGroup = 1;
constexpr IPTR kPicture = 2;

// Shows what is pending, as the event loop would before the next Wait().
void Settle() {
    QApplication::processEvents();
}

class Names {
  public:
    explicit Names(int count) {
        char buffer[48];
        for (int i = 0; i < count; ++i) {
            std::snprintf(buffer, sizeof buffer, "Cartridge title number %05d", i);
            strings_.emplace_back(buffer);
        }
        for (const std::string &name : strings_)
            array_.push_back(name.c_str());
        array_.push_back(nullptr);
    }
    const char **Array() { return array_.data(); }

  private:
    std::vector<std::string> strings_;
    std::vector<const char *> array_;
};

struct App {
    Object *app;
    Object *window;
};

App MakeApplication(const char **names, const std::string &picture) {
    Object *window = MUI_NewObject(
        MUIC_Window,
        {MUIA_Window_Title, "Bench", MUIA_Window_Width, 300, MUIA_Window_RootObject,
         MUI_NewObject(
             MUIC_Group,
             {MUIA_Group_Child,
              MUI_NewObject(
                  MUIC_Listview,
                  {MUIA_Listview_Input, TRUE, MUIA_Listview_List,
                   MUI_NewObject(MUIC_List, {MUIA_List_SourceArray, names, MUIA_List_Active,
                                             MUIV_List_Active_Top, TAG_DONE}),
                   TAG_DONE}),
              MUIA_Group_Child,
              MUI_NewObject(MUIC_Group,
                            {MUIA_UserData, kPictureGroup, MUIA_Group_Child,
                             MUI_NewObject(MUIC_Dtpic, {MUIA_Dtpic_Name, picture.c_str(),
                                                        MUIA_UserData, kPicture, TAG_DONE}),
                             TAG_DONE}),
              TAG_DONE}),
         TAG_DONE});
    Object *app = MUI_NewObject(MUIC_Application, {MUIA_Application_Base, "WIDGETBENCH",
                                                   MUIA_Application_Window, window, TAG_DONE});
    return {app, window};
}

// Opens or closes the window; false when no window shows afterwards.
bool Show(const App &app, bool open) {
    SetAttrs(app.window, MUIA_Window_Open, open, TAG_DONE);
    Settle();
    const auto windows = QApplication::topLevelWidgets();
    const bool shown =
        std::any_of(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); });
    return shown == open;
}

struct Fixture {
    std::filesystem::path dir;
    std::string small, large;
    struct Library *mui = nullptr;

    Fixture() {
        dir =
            std::filesystem::temp_directory_path() / ("widgets-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        small = Png("small.png", 40, 30, 0x2040a0);
        large = Png("large.png", 600, 800, 0xa04020);
        mui = OpenLibrary(MUIMASTER_NAME, MUIMASTER_VMIN);
    }
    ~Fixture() {
        CloseLibrary(mui);
        std::filesystem::remove_all(dir);
    }
    std::string Png(const char *name, int width, int height, unsigned rgb) const {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) // a gradient: a flat image compresses unrealistically
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, rgb ^ static_cast<unsigned>((x * 7 + y * 13) & 0xff));
        const std::string path = (dir / name).string();
        image.save(QString::fromStdString(path), "PNG");
        return path;
    }
};

Fixture *g_fixture = nullptr;

void BM_OpenWindowOverLongList(benchmark::State &state) {
    Names names(32767);
    for (auto _ : state) {
        state.PauseTiming();
        const App app = MakeApplication(names.Array(), g_fixture->small);
        state.ResumeTiming();
        const bool shown = Show(app, true);
        state.PauseTiming();
        Show(app, false);
        MUI_DisposeObject(app.app);
        state.ResumeTiming();
        if (!shown) {
            state.SkipWithError("the window did not show");
            break;
        }
    }
}
BENCHMARK(BM_OpenWindowOverLongList)->Unit(benchmark::kMillisecond);

void SwapPicture(const App &app, const std::string &name) {
    auto *group = reinterpret_cast<Object *>(IDoMethod(app.app, MUIM_FindUData, kPictureGroup));
    IDoMethod(group, MUIM_Group_InitChange);
    auto *old = reinterpret_cast<Object *>(IDoMethod(app.app, MUIM_FindUData, kPicture));
    IDoMethod(group, OM_REMMEMBER, old);
    MUI_DisposeObject(old);
    IDoMethod(group, OM_ADDMEMBER,
              MUI_NewObject(MUIC_Dtpic,
                            {MUIA_Dtpic_Name, name.c_str(), MUIA_UserData, kPicture, TAG_DONE}));
    IDoMethod(group, MUIM_Group_ExitChange);
    Settle();
}

void BM_SwapLargePicture(benchmark::State &state) {
    Names names(100);
    const App app = MakeApplication(names.Array(), g_fixture->small);
    if (!Show(app, true))
        state.SkipWithError("the window did not show");
    for (auto _ : state) {
        SwapPicture(app, g_fixture->large);
        state.PauseTiming();
        SwapPicture(app, g_fixture->small);
        state.ResumeTiming();
    }
    Show(app, false);
    MUI_DisposeObject(app.app);
}
BENCHMARK(BM_SwapLargePicture)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    Fixture fixture;
    if (!fixture.mui)
        return 1;
    g_fixture = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
