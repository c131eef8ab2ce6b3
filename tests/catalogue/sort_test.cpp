// sort_words reproduces the order of a plain exchange sort (the way it sorts
// without working memory), equal names included.
#include "alloc_hook.h"
#include "utils.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

// Sorts copies of the names, with paths "0", "1", ... by original index; the
// result as "name@path" texts. `degraded`: without working memory.
std::vector<std::string> Sorted(std::vector<std::string> names, bool degraded = false) {
    std::vector<std::string> paths;
    std::vector<STRPTR> nameSlots, pathSlots;
    for (size_t i = 0; i < names.size(); ++i)
        paths.push_back(std::to_string(i));
    for (size_t i = 0; i < names.size(); ++i)
        nameSlots.push_back(names[i].data()), pathSlots.push_back(paths[i].data());
    AllocHook::Clear();
    if (degraded)
        AllocHook::At(0, [] { return false; });
    sort_words(nameSlots.data(), pathSlots.data(), LONG(names.size()));
    AllocHook::Clear();
    std::vector<std::string> result;
    for (size_t i = 0; i < names.size(); ++i)
        result.push_back(std::string(nameSlots[i]) + "@" + pathSlots[i]);
    return result;
}

} // namespace

TEST(SortWords, ByteOrderAndTheOrderOfEqualNames) {
    using Names = std::vector<std::string>;
    const std::pair<Names, Names> cases[] = {
        {{"zaxxon.rom", "Zenji", "Alphabet Zoo", "2010", "\xC3\xA9t\xC3\xA9"},
         {"2010@3", "Alphabet Zoo@2", "Zenji@1", "zaxxon.rom@0", "\xC3\xA9t\xC3\xA9@4"}},
        // Scanned as B1, B2, A: each path stays with its own name.
        {{"B", "B", "A"}, {"A@2", "B@1", "B@0"}},
        {{"B", "Bb", "B"}, {"B@0", "B@2", "Bb@1"}},
        {{"c", "a", "c", "b", "a", "c", "a"}, {"a@1", "a@4", "a@6", "b@3", "c@2", "c@5", "c@0"}},
        {{}, {}},
    };
    for (const auto &[names, sorted] : cases) {
        EXPECT_EQ(Sorted(names), sorted);
        EXPECT_EQ(Sorted(names, true), sorted) << "without working memory";
    }
}

TEST(SortWords, EqualsTheExchangeSortOnRandomInput) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 1000; ++trial) {
        const size_t count = trial < 990 ? random() % 40 : 500 + random() % 1500;
        const unsigned distinct = 1 + random() % (trial % 10 == 0 ? 200 : 4);
        std::vector<std::string> names;
        for (size_t i = 0; i < count; ++i)
            names.push_back("n" + std::to_string(random() % distinct));
        ASSERT_EQ(Sorted(names), Sorted(names, true)) << "trial " << trial;
    }
}
