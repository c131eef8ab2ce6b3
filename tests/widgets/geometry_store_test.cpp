// The file of remembered window placements.
#include "qt/geometry_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using platform::qt::GeometryStore;
using platform::qt::WindowGeometry;

namespace {

class GeometryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("geometry-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(GeometryStoreTest, EntriesAreKeptPerBaseAndWindowId) {
    GeometryStore store(dir_ / "sub" / "windows"); // folders are made on first save
    EXPECT_FALSE(store.Load("APP", 1));

    const WindowGeometry a{10, 20, 300, 400};
    const WindowGeometry b{-5, 0, 640, 480};
    ASSERT_TRUE(store.Save("APP", 1, a));
    ASSERT_TRUE(store.Save("APP", 2, b));
    ASSERT_TRUE(store.Save("OTHER APP", 1, b));
    EXPECT_EQ(store.Load("APP", 1), a);
    EXPECT_EQ(store.Load("APP", 2), b);
    EXPECT_EQ(store.Load("OTHER APP", 1), b);
    EXPECT_FALSE(store.Load("APP", 3));

    const WindowGeometry moved{1, 2, 3, 4};
    ASSERT_TRUE(store.Save("APP", 1, moved));
    EXPECT_EQ(GeometryStore(dir_ / "sub" / "windows").Load("APP", 1), moved);
    EXPECT_EQ(store.Load("APP", 2), b);
}

TEST_F(GeometryStoreTest, DamagedLinesAreSkippedAndDroppedOnSave) {
    fs::create_directories(dir_);
    {
        std::ofstream out(dir_ / "windows");
        out << "garbage\n"
            << "0000000A 1 2 0 5 APP\n"        // zero width
            << "0000000B 1 2 99999999 5 APP\n" // absurd size
            << "0000000C 1 2 30 40\n"          // no base
            << "0000000D 7 8 30 40 APP\n";
    }
    GeometryStore store(dir_ / "windows");
    EXPECT_FALSE(store.Load("APP", 0xA));
    EXPECT_FALSE(store.Load("APP", 0xB));
    EXPECT_EQ(store.Load("APP", 0xD), (WindowGeometry{7, 8, 30, 40}));

    ASSERT_TRUE(store.Save("APP", 0xE, {1, 1, 1, 1}));
    std::ifstream in(dir_ / "windows");
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(all, "0000000D 7 8 30 40 APP\n0000000E 1 1 1 1 APP\n");
}

TEST_F(GeometryStoreTest, UnwritablePlacesAndBadNamesFailWithoutDamage) {
    fs::create_directories(dir_);
    std::ofstream(dir_ / "file") << "x";
    EXPECT_FALSE(GeometryStore(dir_ / "file" / "windows").Save("APP", 1, {0, 0, 9, 9}));

    GeometryStore store(dir_ / "windows");
    ASSERT_TRUE(store.Save("APP", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(store.Save("TWO\nLINES", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(store.Save("", 1, {0, 0, 9, 9}));
    EXPECT_FALSE(store.Load("", 1));
    EXPECT_EQ(store.Load("APP", 1), (WindowGeometry{0, 0, 9, 9}));
    EXPECT_FALSE(fs::exists(dir_ / "windows.new"));
}

} // namespace
