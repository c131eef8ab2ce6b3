// sort_words against the plain exchange sort it must reproduce exactly.
#include "alloc_hook.h"
#include "utils.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

void ExchangeSort(STRPTR *names, STRPTR *paths, LONG count) {
    for (LONG i = 0; i < count - 1; i++)
        for (LONG j = i + 1; j < count; j++)
            if (std::strcmp(names[i], names[j]) > 0) {
                std::swap(names[i], names[j]);
                std::swap(paths[i], paths[j]);
            }
}

// Sorts copies of the names (paths: "0", "1", ... by original index) with
// either sort; the result as "name@path" texts.
std::vector<std::string> Sorted(std::vector<std::string> names, bool reference) {
    std::vector<std::string> paths;
    std::vector<STRPTR> nameSlots, pathSlots;
    for (size_t i = 0; i < names.size(); ++i)
        paths.push_back(std::to_string(i));
    for (size_t i = 0; i < names.size(); ++i) {
        nameSlots.push_back(names[i].data());
        pathSlots.push_back(paths[i].data());
    }
    (reference ? ExchangeSort : sort_words)(nameSlots.data(), pathSlots.data(), LONG(names.size()));
    std::vector<std::string> result;
    for (size_t i = 0; i < names.size(); ++i)
        result.push_back(std::string(nameSlots[i]) + "@" + pathSlots[i]);
    return result;
}

} // namespace

TEST(SortWords, ByteOrderAndTheOrderOfEqualNames) {
    EXPECT_EQ(Sorted({"zaxxon.rom", "Zenji", "Alphabet Zoo", "2010", "\xC3\xA9t\xC3\xA9"}, false),
              (std::vector<std::string>{"2010@3", "Alphabet Zoo@2", "Zenji@1", "zaxxon.rom@0",
                                        "\xC3\xA9t\xC3\xA9@4"}));
    // Scanned as B1, B2, A: each path stays with its own name.
    EXPECT_EQ(Sorted({"B", "B", "A"}, false), (std::vector<std::string>{"A@2", "B@1", "B@0"}));
    EXPECT_EQ(Sorted({"B", "Bb", "B"}, false), (std::vector<std::string>{"B@0", "B@2", "Bb@1"}));
    STRPTR none = nullptr;
    sort_words(&none, &none, 0); // no entries: nothing is read
    sort_words(&none, &none, -5);
}

TEST(SortWords, EqualsTheExchangeSortOnRandomInput) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 3000; ++trial) {
        const size_t count = trial < 2970 ? random() % 40 : 500 + random() % 1500;
        const unsigned distinct = 1 + random() % (trial % 10 == 0 ? 200 : 4);
        std::vector<std::string> names;
        for (size_t i = 0; i < count; ++i)
            names.push_back("n" + std::to_string(random() % distinct));
        ASSERT_EQ(Sorted(names, false), Sorted(names, true)) << "trial " << trial;
    }
}

TEST(SortWords, WithoutWorkingMemoryStillGivesTheSameOrder) {
    const std::vector<std::string> names = {"c", "a", "c", "b", "a", "c", "a"};
    AllocHook::Clear();
    AllocHook::At(0, [] { return false; });
    const auto degraded = Sorted(names, false);
    AllocHook::Clear();
    EXPECT_EQ(degraded, Sorted(names, true));
}
