// The application object of the launcher class on the toolkit model: options
// restored from and written to the settings file, attribute counting, and
// the box-art swap.
#include "INIFile.h"
#include "karvolin.h"
#include "launcher-class.h"
#include "rommaker.h"
#include "standin.h"

#include <libraries/mui.h>
#include <proto/dos.h>
#include <proto/exec.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include "mui/view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

CONST_STRPTR kPalettes[] = {"Scaled", "Original", "Faded", NULL};

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/karvolin-launcher-XXXXXX";
        dir_ = mkdtemp(pattern);
        fs::create_directories(dir_ / "roms");
        fs::create_directories(dir_ / "images");
        ASSERT_TRUE(AssignPath("PROGDIR", dir_.c_str()));
        ASSERT_TRUE(AssignPath("ENVARC", (dir_ / "env").c_str()));
        ASSERT_NE(CreateLauncherClass(), nullptr);
    }
    void TearDown() override {
        MUI_DisposeObject(app_);
        DeleteLauncherClass();
        LauncherClass = NULL;
        AssignPath("PROGDIR", nullptr);
        AssignPath("ENVARC", nullptr);
        fs::remove_all(dir_);
    }

    static Object *Check(ULONG id, BOOL selected) {
        return MUI_NewObject(MUIC_Image, {MUIA_InputMode, MUIV_InputMode_Toggle, MUIA_Selected,
                                          selected, MUIA_UserData, id, TAG_DONE});
    }

    // The gadgets the launcher looks up, with the window's start states.
    Object *CreateApp(std::initializer_list<TagArg> extra = {TAG_DONE}) {
        Object *window = MUI_NewObject(
            MUIC_Window,
            {MUIA_Window_RootObject,
             MUI_NewObject(
                 MUIC_Group,
                 {MUIA_Group_Child, Check(ID_SOUND, TRUE), MUIA_Group_Child,
                  Check(ID_DOUBLESIZE, FALSE), MUIA_Group_Child, Check(ID_FULLSCREEN, FALSE),
                  MUIA_Group_Child, Check(ID_SCANLINES, FALSE), MUIA_Group_Child,
                  MUI_NewObject(MUIC_Cycle, {MUIA_Cycle_Entries, kPalettes, MUIA_UserData,
                                             ID_PALETTE, TAG_DONE}),
                  MUIA_Group_Child,
                  MUI_NewObject(
                      MUIC_Group,
                      {MUIA_UserData, ID_PICTUREGROUP, MUIA_Group_Child,
                       MUI_NewObject(MUIC_Dtpic, {MUIA_Dtpic_Name, "PROGDIR:images/nocart.png",
                                                  MUIA_UserData, ID_PICTURE, TAG_DONE}),
                       TAG_DONE}),
                  TAG_DONE}),
             TAG_DONE});
        std::vector<IPTR> flat{MUIA_Application_Window, reinterpret_cast<IPTR>(window)};
        for (const TagArg &arg : extra)
            flat.push_back(arg.value());
        std::vector<TagItem> tags(flat.size() / 2 + 2);
        tagargs::PairInto(flat.data(), flat.size(), tags.data());
        app_ = NewObjectA(LauncherClass->mcc_Class, NULL, tags.data());
        return app_;
    }

    LauncherData *Data() {
        return static_cast<LauncherData *>(INST_DATA(LauncherClass->mcc_Class, app_));
    }

    IPTR Gadget(ULONG id, Tag attribute) {
        IPTR value = 0xDEAD;
        GetAttr(attribute, reinterpret_cast<Object *>(IDoMethod(app_, MUIM_FindUData, id)), &value);
        return value;
    }

    std::string Picture() {
        auto *picture = reinterpret_cast<Object *>(IDoMethod(app_, MUIM_FindUData, ID_PICTURE));
        IPTR name = 0;
        if (!picture || !GetAttr(MUIA_Dtpic_Name, picture, &name) || !name)
            return "<none>";
        return reinterpret_cast<const char *>(name);
    }

    void WriteSettings(const std::string &text) {
        fs::create_directories(dir_ / "env");
        std::ofstream(dir_ / "env/karvolin.ini") << text;
    }

    std::string Settings() {
        std::ifstream in(dir_ / "env/karvolin.ini", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return in ? text.str() : "<missing>";
    }

    void Dispose() {
        MUI_DisposeObject(app_);
        app_ = nullptr;
    }

    fs::path dir_;
    Object *app_ = nullptr;
};

TEST_F(LauncherTest, FirstRunTakesTheDefaults) {
    ASSERT_NE(CreateApp(), nullptr);
    const LauncherData &d = *Data();
    EXPECT_EQ(d.FullScreen, 0);
    EXPECT_EQ(d.SoundOn, 1);
    EXPECT_EQ(d.DoubleSize, 0);
    EXPECT_EQ(d.ScanLines, 0);
    EXPECT_EQ(d.Palette, 0u);
    EXPECT_EQ(d.Spinner, 0);
    EXPECT_EQ(d.ROMNum, -1);
    EXPECT_EQ(d.ROMList, nullptr);
    EXPECT_EQ(Gadget(ID_SOUND, MUIA_Selected), 1u);
    EXPECT_EQ(Gadget(ID_FULLSCREEN, MUIA_Selected), 0u);
    EXPECT_EQ(Gadget(ID_PALETTE, MUIA_Cycle_Active), 0u);
    // Nothing was set, so nothing is written, and no file appears.
    Dispose();
    EXPECT_EQ(Settings(), "<missing>");
}

TEST_F(LauncherTest, StoredOptionsReachFieldsAndGadgets) {
    const std::string stored =
        "; mine\n[Settings]\nSoundOn=0\nPalette = 2\nFullScreen = 65537\nDoubleSize = 2\n";
    WriteSettings(stored);
    ASSERT_NE(CreateApp(), nullptr);
    const LauncherData &d = *Data();
    EXPECT_EQ(d.SoundOn, 0);
    EXPECT_EQ(d.Palette, 2u);
    EXPECT_EQ(d.FullScreen, 1); // only the low 16 bits count
    EXPECT_EQ(d.DoubleSize, 2);
    EXPECT_EQ(Gadget(ID_SOUND, MUIA_Selected), 0u);
    EXPECT_NE(Gadget(ID_FULLSCREEN, MUIA_Selected), 0u);
    EXPECT_NE(Gadget(ID_DOUBLESIZE, MUIA_Selected), 0u);
    EXPECT_EQ(Gadget(ID_PALETTE, MUIA_Cycle_Active), 2u);
    // Nothing was set: the file stays byte for byte, comment line included.
    Dispose();
    EXPECT_EQ(Settings(), stored);

    // A palette the chooser does not offer reads as the first one.
    for (const char *palette : {"7", "4294967295"}) {
        WriteSettings(std::string("[Settings]\nPalette = ") + palette + "\n");
        ASSERT_NE(CreateApp(), nullptr);
        EXPECT_EQ(Data()->Palette + Gadget(ID_PALETTE, MUIA_Cycle_Active), 0u) << palette;
        Dispose();
        EXPECT_EQ(Settings(), std::string("[Settings]\nPalette = ") + palette + "\n");
    }
}

TEST_F(LauncherTest, OnlyWhatWasSetIsWrittenAndTheSpinnerNever) {
    ASSERT_NE(CreateApp(), nullptr);
    SetAttrs(app_, MUIA_Launcher_Spinner, 3, TAG_DONE);
    SetAttrs(app_, MUIA_Launcher_Palette, 1, TAG_DONE);
    EXPECT_EQ(Data()->Spinner, 3);
    Dispose();
    EXPECT_EQ(Settings(), "[Settings]\nPalette = 1\n");

    // Every set writes, even to the value already held; flags keep 16 bits.
    ASSERT_NE(CreateApp(), nullptr);
    EXPECT_EQ(Data()->Spinner, 0);
    SetAttrs(app_, MUIA_Launcher_SoundOn, 1, MUIA_Launcher_ScanLines, 0x10001, TAG_DONE);
    EXPECT_EQ(Data()->ScanLines, 1);
    Dispose();
    EXPECT_EQ(Settings(), "[Settings]\nPalette = 1\nSoundOn = 1\nScanLines = 1\n");
}

TEST_F(LauncherTest, SetCountsLauncherAttributesOnTopOfTheSuperclass) {
    ASSERT_NE(CreateApp(), nullptr);
    const IPTR foreignOnly =
        SetAttrs(app_, MUIA_Application_Title, "x", MUIA_UserData, 5, TAG_DONE);
    const IPTR mixed =
        SetAttrs(app_, MUIA_Launcher_Spinner, 2, MUIA_Application_Title, "y",
                 MUIA_Launcher_FullScreen, 1, MUIA_UserData, 6, MUIA_Launcher_Spinner, 4, TAG_DONE);
    EXPECT_EQ(mixed, foreignOnly + 3);
    EXPECT_EQ(Data()->Spinner, 4); // handled in list order
}

TEST_F(LauncherTest, CreationTagsDoNotReachTheFields) {
    ASSERT_NE(CreateApp({MUIA_Launcher_ROMNum, 3, MUIA_Launcher_Palette, 2, MUIA_Launcher_Spinner,
                         1, TAG_DONE}),
              nullptr);
    EXPECT_EQ(Data()->ROMNum, -1);
    EXPECT_EQ(Data()->Palette, 0u);
    EXPECT_EQ(Data()->Spinner, 0);
}

TEST_F(LauncherTest, SelectingARomSwapsTheBoxArt) {
    auto known = (dir_ / "roms/kong.rom").string();
    auto noPicture = (dir_ / "roms/mrdo.rom").string();
    auto unknown = (dir_ / "roms/mine.rom").string();
    ASSERT_TRUE(rommaker::WriteRom(known, *rommaker::RowFingerprint(14), 8192));
    ASSERT_TRUE(rommaker::WriteRom(noPicture, *rommaker::RowFingerprint(96), 8192));
    ASSERT_TRUE(rommaker::WriteRom(unknown, 0x12345678, 8192));
    std::ofstream(dir_ / "images/253740.png") << "not really a picture";
    STRPTR roms[] = {known.data(), noPicture.data(), unknown.data()};

    ASSERT_NE(CreateApp(), nullptr);
    SetAttrs(app_, MUIA_Launcher_ROMList, roms, TAG_DONE);
    auto *group = reinterpret_cast<Object *>(IDoMethod(app_, MUIM_FindUData, ID_PICTUREGROUP));
    auto picture = [&] {
        return reinterpret_cast<Object *>(IDoMethod(app_, MUIM_FindUData, ID_PICTURE));
    };

    struct Case {
        LONG index;
        const char *shown;
    };
    for (const Case &c :
         {Case{0, "PROGDIR:images/253740.png"}, Case{1, "PROGDIR:images/nocart.png"},
          Case{2, "PROGDIR:images/nocart.png"}, Case{0, "PROGDIR:images/253740.png"},
          Case{-1, "PROGDIR:images/nocart.png"}}) {
        Object *old = picture();
        SetAttrs(app_, MUIA_Launcher_ROMNum, c.index, TAG_DONE);
        EXPECT_EQ(Data()->ROMNum, c.index);
        EXPECT_EQ(Picture(), c.shown) << c.index;
        // A new object every time, the group's only child; the old one is gone
        // (AddressSanitizer would report a use of it).
        EXPECT_NE(picture(), old);
        EXPECT_EQ(platform::mui::ChildrenOf(group), std::vector<Object *>{picture()});
    }
}

TEST_F(LauncherTest, LaunchStartsTheSelectedRomOnly) {
    StandInEmulator colem;
    const auto rom = (dir_ / "roms/it's a \"*test*\".rom").string();
    ASSERT_TRUE(rommaker::WriteRom(rom, 0x1, 100));
    STRPTR roms[] = {const_cast<STRPTR>(rom.c_str())};
    ASSERT_NE(CreateApp(), nullptr);
    SetAttrs(app_, MUIA_Launcher_ROMList, roms, TAG_DONE);

    EXPECT_EQ(IDoMethod(app_, MUIM_Launcher_Launch), 0u);
    SetAttrs(app_, MUIA_Launcher_ROMNum, 0, MUIA_Launcher_Palette, 2, MUIA_Launcher_SoundOn, 0,
             MUIA_Launcher_FullScreen, 1, MUIA_Launcher_Spinner, 3, TAG_DONE);
    EXPECT_EQ(colem.Runs(), 0); // nothing before a ROM was selected
    EXPECT_EQ(IDoMethod(app_, MUIM_Launcher_Launch), 0u);
    EXPECT_EQ(IDoMethod(app_, MUIM_Launcher_Launch), 0u);
    EXPECT_EQ(colem.WaitForRuns(2), 2);
    EXPECT_EQ(colem.LastArguments(),
              (std::vector<std::string>{rom, "-fullscreen", "-spin2x", "-palette", "2"}));
}

} // namespace
