// The launcher object on the toolkit model; the emulator's command line, run.
#include "INIFile.h"
#include "karvolin.h"
#include "launcher-class.h"
#include "rommaker.h"
#include "standin.h"
#include "temp_dir.h"
#include "utils.h"

#include <dos/dostags.h>
#include <libraries/mui.h>
#include <proto/dos.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include "mui/view.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_.path() / "roms");
        fs::create_directories(dir_.path() / "images");
        ASSERT_TRUE(AssignPath("PROGDIR", dir_.path().c_str()));
        ASSERT_TRUE(AssignPath("ENVARC", (dir_ / "env").c_str()));
        ASSERT_NE(CreateLauncherClass(), nullptr);
    }
    void TearDown() override {
        Dispose();
        DeleteLauncherClass();
    }
    // The window and the application object as the program starts them.
    bool Start() {
        if (!build_gui())
            return false;
        SetAttrs(App, MUIA_Launcher_ROMList, ROMArray, TAG_DONE);
        notifications();
        return true;
    }

    static Object *Find(ULONG id) {
        return reinterpret_cast<Object *>(IDoMethod(App, MUIM_FindUData, id));
    }
    static IPTR Get(Object *object, Tag attribute) {
        IPTR value = 0xDEAD;
        GetAttr(attribute, object, &value);
        return value;
    }
    static std::string Text(Object *object, Tag attribute) {
        const char *text = reinterpret_cast<const char *>(Get(object, attribute));
        return text ? text : "<none>";
    }
    LauncherData &Data() {
        return *static_cast<LauncherData *>(INST_DATA(LauncherClass->mcc_Class, App));
    }
    std::string Settings() { return dir_.Read("env/karvolin.ini"); }
    void Dispose() {
        MUI_DisposeObject(App);
        App = Win = NULL;
        free_catalogue();
    }

    TempDir dir_;
};

TEST_F(LauncherTest, TheWindowTreeAsBuilt) {
    ASSERT_TRUE(Start());
    // An empty drawer says where games go, in a line that is no game.
    EXPECT_EQ(Text(Find(ID_LIST), MUIA_List_Title),
              "No games yet. Put ROM files named *.rom, *.col, *.bin, *.zip or *.gz in " +
                  (dir_.path() / "roms").string());
    EXPECT_EQ(std::pair(Data().ROMNum, Get(Find(ID_LIST), MUIA_List_Entries)),
              std::pair(-1, IPTR{0}));
    // Every id once, on the object that acts on it (a mark, not its row).
    std::multimap<ULONG, std::string> ids; // id -> class of an object carrying it
    for (std::vector<Object *> objects{App}; !objects.empty();) {
        Object *object = objects.back();
        objects.pop_back();
        if (const IPTR id = Get(object, MUIA_UserData); id && id != 0xDEAD)
            ids.emplace(id, OCLASS(object)->cl_ID);
        for (Object *child : platform::mui::ChildrenOf(object))
            objects.push_back(child);
    }
    const std::multimap<ULONG, std::string> expected = {
        {ID_QUIT, MUIC_Text},       {ID_LAUNCH, MUIC_Text},      {ID_TITLE, MUIC_Text},
        {ID_SOUND, MUIC_Image},     {ID_DOUBLESIZE, MUIC_Image}, {ID_FULLSCREEN, MUIC_Image},
        {ID_SCANLINES, MUIC_Image}, {ID_PALETTE, MUIC_Cycle},    {ID_LIST, MUIC_List},
        {ID_PICTURE, MUIC_Dtpic},   {ID_SPINNER, MUIC_Cycle},    {ID_PICTUREGROUP, MUIC_Group}};
    EXPECT_EQ(ids, expected);
}

TEST_F(LauncherTest, StoredOptionsReachFieldsAndGadgets) {
    const std::string stored =
        "; mine\n[Settings]\nSoundOn=0\nPalette = 2\nFullScreen = 65537\nDoubleSize = 2\n";
    dir_.Write("env/karvolin.ini", stored);
    ASSERT_NE(build_gui(), nullptr);
    const LauncherData &d = Data(); // flags keep their low 16 bits
    EXPECT_EQ(
        (std::vector<long>{d.FullScreen, d.SoundOn, d.DoubleSize, d.ScanLines, long(d.Palette)}),
        (std::vector<long>{1, 0, 2, 0, 2}));
    for (const auto &[id, ticked] :
         {std::pair(ID_FULLSCREEN, true), std::pair(ID_SOUND, false),
          std::pair(ID_DOUBLESIZE, true), std::pair(ID_SCANLINES, false)})
        EXPECT_EQ(Get(Find(id), MUIA_Selected) != 0, ticked) << id;
    EXPECT_EQ(Get(Find(ID_PALETTE), MUIA_Cycle_Active), 2u);
    // Nothing was set: the file stays byte for byte, comment line included.
    Dispose();
    EXPECT_EQ(Settings(), stored);

    // A palette the chooser does not offer reads as the first one.
    for (const std::string palette : {"7", "4294967295"}) {
        dir_.Write("env/karvolin.ini", "[Settings]\nPalette = " + palette + "\n");
        ASSERT_NE(build_gui(), nullptr);
        EXPECT_EQ(std::pair(Data().Palette, Get(Find(ID_PALETTE), MUIA_Cycle_Active)),
                  std::pair(0u, IPTR{0}))
            << palette;
        Dispose();
        EXPECT_EQ(Settings(), "[Settings]\nPalette = " + palette + "\n");
    }

    // A file far larger than settings are is neither read nor written over.
    const std::string huge = "[Settings]\nSoundOn = 0\n" + std::string(INI_MAX_FILE_SIZE, '#');
    dir_.Write("env/karvolin.ini", huge);
    testing::internal::CaptureStderr();
    ASSERT_NE(build_gui(), nullptr);
    EXPECT_EQ(Data().SoundOn, 1);
    SetAttrs(App, MUIA_Launcher_Palette, 1, TAG_DONE);
    Dispose();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Settings file karvolin.ini is larger than 1048576 bytes: not read, and left as "
              "it is\n");
    EXPECT_TRUE(Settings() == huge) << "written over";
    EXPECT_FALSE(SettingsLost);
}

// Two launchers at once: the last to quit keeps the other's changes, wins ties.
TEST_F(LauncherTest, TwoLaunchersAtOnceKeepEachOthersChanges) {
    dir_.Write("env/karvolin.ini", "[Settings]\nPalette = 2\n");
    int loaded[2], quit[2][2];
    for (int *ends : {loaded, quit[0], quit[1]})
        ASSERT_EQ(::pipe(ends), 0);
    const auto launcher = [&](int which, Tag option, IPTR value) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            char byte = 0;
            bool ok = build_gui() != nullptr;
            SetAttrs(App, option, value, MUIA_Launcher_Palette, value, TAG_DONE);
            ok = ok && ::write(loaded[1], &byte, 1) == 1 && ::read(quit[which][0], &byte, 1) == 1;
            Dispose();
            ::_exit(ok && !SettingsLost ? 0 : 1);
        }
        return pid;
    };
    const pid_t launchers[] = {launcher(0, MUIA_Launcher_FullScreen, 1),
                               launcher(1, MUIA_Launcher_SoundOn, 0)};
    char bytes[2];
    for (char &byte : bytes) // both have read
        ASSERT_EQ(::read(loaded[0], &byte, 1), 1);
    for (int which : {0, 1}) {
        int status = -1;
        ASSERT_EQ(::write(quit[which][1], bytes, 1), 1);
        ASSERT_EQ(::waitpid(launchers[which], &status, 0), launchers[which]);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(Settings(), "[Settings]\nPalette = 0\nFullScreen = 1\nSoundOn = 0\n");
    for (int fd : {loaded[0], loaded[1], quit[0][0], quit[0][1], quit[1][0], quit[1][1]})
        ::close(fd);
}

// A run starts on the game launched last, by its file name, or on the top game
// when that file is gone or its name one the settings cannot carry.
TEST_F(LauncherTest, ARunStartsOnTheGameLaunchedLast) {
    StandInEmulator colem;
    const std::pair<std::string, bool> names[] = {{"b = c; d.rom", true},
                                                  {"\xe9t\xe9 [!].rom", true},
                                                  {"two\nlines.rom", false},
                                                  {" padded.rom ", false},
                                                  {"z.rom", true}};
    dir_.Write("roms/a.rom", "top");
    for (const auto &[name, kept] : names) {
        std::filesystem::remove(dir_ / "env/karvolin.ini");
        dir_.Write("roms/" + name, name);
        ASSERT_TRUE(Start());
        const LONG at = LONG(std::find_if(ROMArray, ROMArray + NumROMS,
                                          [&](STRPTR path) { return FilePart(path) == name; }) -
                             ROMArray);
        EXPECT_EQ(Data().ROMNum, 0) << "the top game without a last one";
        SetAttrs(Find(ID_LIST), MUIA_List_Active, at, TAG_DONE);
        IDoMethod(App, MUIM_Launcher_Launch);
        Dispose();
        ASSERT_TRUE(Start());
        EXPECT_EQ(Data().ROMNum, kept ? at : 0) << name;
        EXPECT_EQ(Get(Find(ID_LIST), MUIA_List_Active), IPTR(Data().ROMNum)) << name;
        Dispose();
        std::filesystem::remove(dir_ / ("roms/" + name));
        ASSERT_TRUE(Start()); // the file gone: the top game
        EXPECT_EQ(Data().ROMNum, 0) << name;
        Dispose();
    }
    EXPECT_EQ(colem.WaitForRuns(5).size(), 5u);
    EXPECT_EQ(Settings(), "[Settings]\nLastGame = z.rom\n");
}

// The picture shown: the table's, else the one named after the ROM file, the
// first that decodes whole, else the placeholder; a new group child each time.
TEST_F(LauncherTest, SelectingARomShowsTheFirstPictureThatDecodes) {
    const std::string png(kTinyPng), huge = std::string(kTinyPng).replace(16, 17, kHugeHeader);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QImage(16, 16, QImage::Format_RGB32).save(&buffer, "JPG"));
    const std::pair<std::string, std::string> images[] = {
        {"253740.png", png},        {"2D538F.png", png.substr(0, 40)},
        {"Mr. Do! (USA).png", png}, {"a_b_c_d_e_f_g_h_i_j.png", png},
        {"2D097C.png", ""},         {"joust.png", "no picture"},
        {"big.png", huge},          {"cut.png", jpeg.chopped(8).toStdString()}};
    for (const auto &[name, bytes] : images)
        dir_.Write("images/" + name, bytes);
    ASSERT_EQ(::mkfifo((dir_ / "images/18C8BC.png").c_str(), 0600), 0);
    // A ROM, its table row (-1: none) and the picture it shows.
    const std::tuple<std::string, int, std::string> rows[] = {
        {"kong.rom", 14, "253740.png"},
        {"Mr. Do! (USA).col", 96, "Mr. Do! (USA).png"}, // its table picture cut short
        {"a&b*c:d`e<f>g?h\\i|j.col.gz", -1, "a_b_c_d_e_f_g_h_i_j.png"},
        {"joust.rom", 20, "nocart.png"}, // an empty picture, one that is none
        {"big.zip", -1, "nocart.png"},   // more than Qt may allocate
        {"cut.bin", -1, "nocart.png"},   // a JPEG cut short
        {"zoo.rom", 2, "nocart.png"},    // a FIFO
        {"pipe.rom", -1, "nocart.png"},
    };
    std::vector<std::string> paths;
    for (const auto &[rom, row, shown] : rows) {
        paths.push_back(dir_ / ("roms/" + rom));
        if (row < 0)
            dir_.Write("roms/" + rom, "no cartridge");
        else
            ASSERT_TRUE(rommaker::WriteRom(paths.back(), *rommaker::RowFingerprint(row), 4096));
    }
    fs::remove(paths.back());
    ASSERT_EQ(::mkfifo(paths.back().c_str(), 0600), 0);
    std::vector<STRPTR> roms;
    for (std::string &path : paths)
        roms.push_back(path.data());
    ASSERT_NE(build_gui(), nullptr);
    SetAttrs(App, MUIA_Launcher_ROMList, roms.data(), TAG_DONE);
    for (const LONG index : {0, 1, 2, 3, 4, 5, 6, 7, 0, -1}) {
        Object *old = Find(ID_PICTURE);
        SetAttrs(App, MUIA_Launcher_ROMNum, index, TAG_DONE);
        EXPECT_EQ(Data().ROMNum, index);
        EXPECT_EQ(Text(Find(ID_PICTURE), MUIA_Dtpic_Name),
                  "PROGDIR:images/" + (index < 0 ? "nocart.png" : std::get<2>(rows[index])))
            << index;
        EXPECT_NE(Find(ID_PICTURE), old);
        EXPECT_EQ(platform::mui::ChildrenOf(Find(ID_PICTUREGROUP)),
                  std::vector<Object *>{Find(ID_PICTURE)});
    }
}

// Option words, palette, the path quoted; nothing without a ROM or room.
TEST(LaunchCommand, WordsQuotingAndLength) {
    const std::string fits(947, 'p'); // with the longest words and palette: 1023 bytes
    const std::string longest =
        "  -fullscreen -sound -scanlines -double -spin1x  -palette 4294967295";
    const struct {
        WORD fullScreen, sound, doubleSize, scanLines;
        ULONG palette;
        LONG spinner, rom;
        std::string path, command;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, 0, "PROGDIR:roms/a.rom", "colem \"PROGDIR:roms/a.rom\"   -palette 0"},
        {1, 1, 1, 1, 1, 4, 0, "a",
         "colem \"a\"  -fullscreen -sound -scanlines -double -spin2y  -palette 1"},
        // Scan lines before double size; any value but 0 sets a flag.
        {0, 0, 7, -1, 0, 0, 0, "a", "colem \"a\"  -scanlines -double  -palette 0"},
        {0, 0, 0, 0, 0, 1, 0, "a", "colem \"a\"  -spin1x  -palette 0"},
        {0, 0, 0, 0, 0, 2, 0, "a", "colem \"a\"  -spin1y  -palette 0"},
        {0, 0, 0, 0, 0, 3, 0, "a", "colem \"a\"  -spin2x  -palette 0"},
        {0, 0, 0, 0, 0, 5, 0, "a", "colem \"a\"   -palette 0"},
        {0, 0, 0, 0, 0, -1, 0, "a", "colem \"a\"   -palette 0"},
        // Quotes and stars are escaped the AmigaDOS way; everything else stays.
        {0, 0, 0, 0, 0, 0, 0, "say \"hi\" *now*", "colem \"say *\"hi*\" **now**\"   -palette 0"},
        {0, 0, 0, 0, 0, 0, 0, "$(x) `y`; z", "colem \"$(x) `y`; z\"   -palette 0"},
        {0, 0, 0, 0, 0, 0, -1, "a", ""},
        {0, 0, 0, 0, 0, 0, -5, "a", ""},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits, "colem \"" + fits + "\"" + longest},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits + "p", ""},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits.substr(1) + "*", ""}, // a star takes two bytes
    };
    for (const auto &c : cases) {
        std::string path = c.path;
        STRPTR list[] = {path.data()};
        const LauncherData data = {c.fullScreen, c.sound,   c.doubleSize, c.scanLines,
                                   c.palette,    c.spinner, c.rom,        list};
        char options[48], command[1024];
        MakeOptionString(&data, options);
        EXPECT_EQ(FormatLaunchCommand(&data, options, command, sizeof command) ? command : "",
                  c.command);
    }
}

static LONG RunAsync(const std::string &command) {
    return SystemTags(command.c_str(), SYS_Input, NULL, SYS_Output, NULL, SYS_Asynch, TRUE,
                      TAG_DONE);
}

// Whether a child of this process has ended and not been reaped.
static bool Zombie() {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

// The path arrives as it is, a host path, running nothing, also to a script
// without a "#!" line.
TEST(SystemTags, TheLaunchLineArrivesAsExactArgumentsWithoutAShell) {
    StandInEmulator colem;
    ASSERT_TRUE(AssignPath("KVTEST", colem.Dir().c_str()));
    const std::string touch = "touch " + (colem.Dir() / "ran").string();
    const std::string file = "my roms/it's \"odd\" *$(" + touch + ")* `" + touch + "`; " + touch;
    std::string path = "KVTEST:" + file;
    STRPTR list[] = {path.data()};
    const LauncherData data = {0, 1, 0, 0, 2, 0, 0, list};
    char options[48], command[1024];
    MakeOptionString(&data, options);
    ASSERT_TRUE(FormatLaunchCommand(&data, options, command, sizeof command));
    for (size_t run = 1; run <= 2; ++run) {
        if (run == 2) { // the same script without its first line
            std::ifstream in(colem.Dir() / "colem");
            std::string script(std::istreambuf_iterator<char>(in), {});
            std::ofstream(colem.Dir() / "colem") << script.substr(script.find('\n') + 1);
        }
        ASSERT_EQ(RunAsync(command), 0);
        const std::vector<pid_t> runs = colem.WaitForRuns(run);
        ASSERT_EQ(runs.size(), run);
        EXPECT_EQ(colem.Record("args", runs.back()), (colem.Dir() / file).string() + '\0' +
                                                         "-sound" + '\0' + "-palette" + '\0' + "2" +
                                                         '\0');
    }
    EXPECT_FALSE(fs::exists(colem.Dir() / "ran"));
    AssignPath("KVTEST", nullptr);
}

TEST(SystemTags, NeverWaitsAndLeavesNoZombie) {
    StandInEmulator colem(1.0);
    ASSERT_EQ(RunAsync("colem \"x.rom\""), 0);
    ASSERT_EQ(RunAsync("colem \"y.rom\""), 0);
    // Both emulators run at once, and still run while we are back here.
    const std::vector<pid_t> runs = colem.WaitForRuns(2);
    ASSERT_EQ(runs.size(), 2u);
    for (pid_t pid : runs)
        EXPECT_EQ(::kill(pid, 0), 0) << pid;
    for (pid_t pid : runs)
        while (::kill(pid, 0) == 0 && !Zombie())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(Zombie());
}

// A command that cannot start says why in a line; an empty one fails quietly.
TEST(SystemTags, ACommandThatCannotStartFailsAndSaysWhy) {
    StandInEmulator colem;
    using fs::perms;
    // A command, the mode of the stand-in's script, the line said.
    const std::tuple<const char *, perms, const char *> cases[] = {
        {"no-such-emulator-anywhere", perms::owner_all,
         "Cannot start no-such-emulator-anywhere: not found in PATH\n"},
        {"colem \"x.rom\"", perms::owner_read, "Cannot start colem: not executable\n"},
        {"", perms::owner_all, ""},
        {"   ", perms::owner_all, ""}};
    for (const auto &[command, mode, message] : cases) {
        fs::permissions(colem.Dir() / "colem", mode);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunAsync(command), -1) << command;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), message);
    }
    EXPECT_TRUE(colem.Pids().empty());
    EXPECT_FALSE(Zombie());
}

// The emulator inherits no open file, ignored or blocked signal of the launcher's.
TEST(SystemTags, TheEmulatorInheritsNothingOfTheLaunchersProcess) {
    StandInEmulator colem;
    const int leaked = ::open("/dev/zero", O_RDONLY);
    const auto ignored = std::signal(SIGUSR1, SIG_IGN);
    sigset_t blocked{}, saved;
    sigaddset(&blocked, SIGUSR2);
    sigprocmask(SIG_BLOCK, &blocked, &saved);
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunAsync("colem \"x.rom\""), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    sigprocmask(SIG_SETMASK, &saved, nullptr);
    std::signal(SIGUSR1, ignored);
    ::close(leaked);

    const std::vector<pid_t> runs = colem.WaitForRuns(1);
    ASSERT_EQ(runs.size(), 1u);
    std::map<std::string, std::string> state; // descriptor or signal set -> its value
    std::istringstream record(colem.Record("state", runs[0]));
    for (std::string key, value; record >> key >> value;)
        state[key] = value;
    for (const char *set : {"SigBlk:", "SigIgn:"}) {
        EXPECT_EQ(state[set], "0000000000000000") << set;
        state.erase(set);
    }
    for (const char *stream : {"0", "1", "2"})
        EXPECT_EQ(state[stream], "/dev/null") << stream;
    for (const auto &[number, target] : state) // the shell keeps its script open
        EXPECT_TRUE(target == "/dev/null" || target == (colem.Dir() / "colem").string())
            << number << " -> " << target;
}
