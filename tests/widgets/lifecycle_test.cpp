// The view across group changes, window reopening, new applications and a
// missing display.
#include "widget_fixture.h"

#include <QLabel>
#include <QPixmap>

#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace widgets_test {
namespace {

class LifecycleTest : public WidgetTest {
  protected:
    // The label that shows the picture: the only label without text.
    QLabel *PictureLabel() const {
        QLabel *found = nullptr;
        for (QLabel *label : Window()->findChildren<QLabel *>())
            if (label->text().isEmpty()) {
                EXPECT_EQ(found, nullptr);
                found = label;
            }
        return found;
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
    ASSERT_NE(MakeApplication("WIDGETTEST", 1), nullptr);
    OpenWindow();
    ASSERT_NE(PictureLabel(), nullptr);
    EXPECT_EQ(PictureLabel()->pixmap().size(), QSize(40, 30));

    SwapPicture(WritePng("big.png", 600, 800, 0xc03030));
    ASSERT_NE(PictureLabel(), nullptr);
    EXPECT_EQ(PictureLabel()->pixmap().size(), QSize(600, 800));
    EXPECT_EQ(PictureLabel()->pixmap().toImage().pixelColor(5, 5), QColor::fromRgb(0xc03030));
    EXPECT_TRUE(PictureLabel()->isVisible());
    EXPECT_GE(Window()->width(), 600) << "the window did not make room";
    EXPECT_GE(Window()->height(), 800);

    // A missing or broken file leaves an empty picture and a working window.
    SwapPicture((dir_ / "missing.png").string());
    ASSERT_NE(PictureLabel(), nullptr);
    EXPECT_TRUE(PictureLabel()->pixmap().isNull());
    std::ofstream(dir_ / "broken.png") << "not a picture";
    SwapPicture((dir_ / "broken.png").string());
    EXPECT_TRUE(PictureLabel()->pixmap().isNull());
}

TEST_F(LifecycleTest, PlacementSurvivesReopenInANewApplication) {
    ASSERT_NE(MakeApplication("WIDGETTEST", 0x4D41494E), nullptr);
    OpenWindow();
    Window()->move(130, 140);
    Window()->resize(420, 610);
    OpenWindow(false);
    EXPECT_EQ(Window(), nullptr);
    MUI_DisposeObject(app_);

    ASSERT_NE(MakeApplication("WIDGETTEST", 0x4D41494E), nullptr);
    OpenWindow();
    EXPECT_EQ(Window()->pos(), QPoint(130, 140));
    EXPECT_EQ(Window()->size(), QSize(420, 610));
    OpenWindow(false);
    MUI_DisposeObject(app_);

    // Another window id starts at the toolkit's width again.
    ASSERT_NE(MakeApplication("WIDGETTEST", 0x4F544852), nullptr);
    OpenWindow();
    EXPECT_EQ(Window()->width(), 300);
}

TEST_F(LifecycleTest, ScreenshotOfASmallWindow) {
    ASSERT_NE(MakeApplication("WIDGETTEST", 1), nullptr);
    OpenWindow();
    const std::filesystem::path output = WIDGETS_OUTPUT_DIR;
    std::filesystem::create_directories(output);
    const QString file = QString::fromStdString((output / "small-window.png").string());
    ASSERT_TRUE(Window()->grab().save(file, "PNG"));
    QImage shot(file);
    EXPECT_EQ(shot.size(), Window()->size() * shot.devicePixelRatio());
}

// Without any display the toolkit does not open, and says why in one line.
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
} // namespace widgets_test
