// The file of remembered window placements.
#include "qt/geometry_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using platform::qt::GeometryStore;
using platform::qt::WindowGeometry;

TEST(GeometryStoreTest, KeepsEntriesApartSkipsDamageAndFailsCleanly) {
    const fs::path dir = fs::temp_directory_path() / ("geometry-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    GeometryStore store(dir / "sub" / "windows"); // folders are made on first save
    EXPECT_FALSE(store.Load("APP", 1));
    ASSERT_TRUE(store.Save("APP", 1, {10, 20, 300, 400}));
    ASSERT_TRUE(store.Save("APP", 2, {-5, 0, 640, 480}));
    ASSERT_TRUE(store.Save("OTHER APP", 1, {1, 2, 3, 4}));
    ASSERT_TRUE(store.Save("APP", 1, {7, 8, 9, 10})); // replaces, keeps the rest
    EXPECT_EQ(store.Load("APP", 1), (WindowGeometry{7, 8, 9, 10}));
    EXPECT_EQ(store.Load("APP", 2), (WindowGeometry{-5, 0, 640, 480}));
    EXPECT_EQ(store.Load("OTHER APP", 1), (WindowGeometry{1, 2, 3, 4}));

    // Damaged lines are ignored, and dropped at the next save.
    std::ofstream(dir / "sub" / "windows", std::ios::app)
        << "garbage\n0000000A 1 2 0 5 APP\n0000000B 1 2 99999999 5 APP\n0000000C 1 2 30 40\n";
    EXPECT_FALSE(store.Load("APP", 0xA));
    EXPECT_FALSE(store.Load("APP", 0xB));
    ASSERT_TRUE(store.Save("APP", 3, {0, 0, 9, 9}));
    std::ifstream in(dir / "sub" / "windows");
    const std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(all.find("garbage"), std::string::npos);
    EXPECT_EQ(store.Load("APP", 2), (WindowGeometry{-5, 0, 640, 480}));

    // A name that would split a line, or a place that cannot be written.
    EXPECT_FALSE(store.Save("TWO\nLINES", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(store.Save("", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(GeometryStore(dir / "sub" / "windows" / "x").Save("APP", 1, {0, 0, 9, 9}));
    EXPECT_EQ(store.Load("APP", 3), (WindowGeometry{0, 0, 9, 9}));
    EXPECT_FALSE(fs::exists(dir / "sub" / "windows.new"));
    fs::remove_all(dir);
}
