// The demo drawer as the launcher will see it: every ROM identifies as the
// row it stands for, and every picture is where the table says and shows the
// colour the end-to-end tests look for.
#include "demo_drawer.h"
#include "e2e.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using e2e::fs::path;

// How much of a picture shows exactly this colour (0xRRGGBB), from 0 to 1.
double Share(const path &file, uint32_t colour) {
    const QImage image(QString::fromStdString(file.string()));
    return image.isNull()
               ? 0
               : double(e2e::CountColour(image, colour)) / (image.width() * image.height());
}

TEST(DemoDrawer, RomsIdentifyAndPicturesMatchTheTable) {
    e2e::TestDrawer drawer(KARVOLIN_PROGRAM);
    ASSERT_TRUE(drawer.MakeDemo(DEMO_DRAWER_MAKER));
    const path images = drawer.drawer() / "images";
    for (const demo::DemoRom &rom : demo::DemoRoms()) {
        char text[16];
        std::snprintf(text, sizeof text, "%X", GetFileFingerPrint(drawer.rom(rom.file).c_str()));
        EXPECT_EQ(LookUpGameName(text), rom.row) << rom.file;
        if (rom.row >= 0) { // the two versions of one cartridge share a picture and its colour
            EXPECT_EQ(Share(images / GameList[rom.row].Image, demo::BoxArtColour(rom.row)) > 0.6,
                      rom.picture)
                << rom.file;
        }
    }
    EXPECT_GT(Share(images / "nocart.png", demo::NoCartridgeColour()), 0.6);
}

} // namespace
