// The demo drawer as the launcher will see it: every ROM identifies as the
// row it stands for, the pictures are where the table says and show the
// colour the end-to-end tests look for.
#include "demo_drawer.h"
#include "test_drawer.h"
#include "utils.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

namespace fs = std::filesystem;

// How much of a picture shows exactly this colour (0xRRGGBB), from 0 to 1.
double Share(const QImage &image, uint32_t colour) {
    long same = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            same += (image.pixel(x, y) & 0xFFFFFFu) == colour;
    return static_cast<double>(same) / (image.width() * image.height());
}

std::string FingerprintText(const fs::path &file) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(GetFileFingerPrint(file.c_str())));
    return text;
}

TEST(DemoDrawer, RomsIdentifyAndPicturesMatchTheTable) {
    e2e::TestDrawer drawer(KARVOLIN_PROGRAM);
    ASSERT_TRUE(drawer.MakeDemo(DEMO_DRAWER_MAKER));
    const fs::path roms = drawer.drawer() / "roms", images = drawer.drawer() / "images";

    int sevenDigits = 0, eightDigits = 0, unknown = 0, withoutPicture = 0;
    for (const demo::DemoRom &rom : demo::DemoRoms()) {
        SCOPED_TRACE(rom.file);
        const std::string text = FingerprintText(roms / rom.file);
        EXPECT_EQ(LookUpGameName(text.c_str()), rom.row);
        if (rom.row < 0) {
            ++unknown;
            continue;
        }
        (text.size() == 7 ? sevenDigits : eightDigits)++;
        const fs::path picture = images / GameList[rom.row].Image;
        if (!rom.picture) {
            ++withoutPicture;
            EXPECT_FALSE(fs::exists(picture));
            continue;
        }
        const QImage image(QString::fromStdString(picture.string()));
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(Share(image, demo::BoxArtColour(rom.row)), 0.6);
    }
    EXPECT_GE(sevenDigits, 3);
    EXPECT_GE(eightDigits, 10);
    EXPECT_EQ(unknown, 2);
    EXPECT_EQ(withoutPicture, 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(roms), fs::directory_iterator()),
              static_cast<long>(demo::DemoRoms().size()));

    // The two versions of one cartridge share one picture and its colour.
    EXPECT_STREQ(GameList[14].Image, GameList[15].Image);
    EXPECT_EQ(demo::BoxArtColour(14), demo::BoxArtColour(15));
    const QImage placeholder(QString::fromStdString((images / "nocart.png").string()));
    EXPECT_GT(Share(placeholder, demo::NoCartridgeColour()), 0.6);
}

} // namespace
