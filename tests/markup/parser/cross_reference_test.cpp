// The name order of the dictionaries and the cross-reference searches by id
// and by name, including inserts into a dictionary that learns names.
#include "markup/parser/cross_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "markup/parser/element_def.h"
#include "markup/parser/id_list.h"
#include "markup/parser/name_order.h"

namespace markup {
namespace {

struct OrderCase {
    const char* before;
    const char* after;
};

class NameOrderTest : public testing::TestWithParam<OrderCase> {};

// Hyphens and case count only after the letters; lower case comes first.
TEST_P(NameOrderTest, FirstSortsBeforeSecond) {
    EXPECT_LT(CompareNames(GetParam().before, GetParam().after), 0);
    EXPECT_GT(CompareNames(GetParam().after, GetParam().before), 0);
}

INSTANTIATE_TEST_SUITE_P(WordOrder, NameOrderTest,
                         testing::Values(OrderCase{"lowercase", "lower-roman"}, OrderCase{"end", "e-resize"},
                                         OrderCase{"linearRGB", "line-through"}, OrderCase{"square", "sRGB"},
                                         OrderCase{"nowrap", "n-resize"}, OrderCase{"a", "A"},
                                         OrderCase{"rect", "Rect"}, OrderCase{"a-b", "ab"},
                                         OrderCase{"", "a"}, OrderCase{"900", "absolute"},
                                         OrderCase{"text-top", "top"}));

TEST(NameOrderTest, OnlyEqualBytesCompareEqual) {
    EXPECT_EQ(CompareNames("border", "border"), 0);
    EXPECT_EQ(CompareNames(nullptr, ""), 0);
    EXPECT_NE(CompareNames("ab", "a-b"), 0);
    EXPECT_NE(CompareNames("Ab", "ab"), 0);
}

std::unique_ptr<ElementDef> Def(std::uint32_t id, const char* name) {
    auto d = std::make_unique<ElementDef>();
    d->SetId(id);
    d->SetName(name);
    return d;
}

// Entries as a file holds them: pairs by key, definitions by name.
void Fill(CrossReference<ElementDef>& x, const std::vector<std::pair<std::uint32_t, const char*>>& byName) {
    std::vector<IDIndexPair> pairs;
    for (std::uint32_t i = 0; i < byName.size(); ++i) pairs.push_back({byName[i].first, i});
    std::sort(pairs.begin(), pairs.end(), [](auto a, auto b) { return a.key < b.key; });
    for (std::uint32_t i = 0; i < byName.size(); ++i)
        x.Append(pairs[i], Def(byName[i].first, byName[i].second));
}

TEST(CrossReferenceTest, EmptyAndSingleEntries) {
    CrossReference<ElementDef> x;
    std::uint32_t id = 0;
    EXPECT_EQ(x.FindById(0), nullptr);
    EXPECT_FALSE(x.IdByName("", id));
    EXPECT_FALSE(x.IdByName("a", id));
    Fill(x, {{7, "one"}});
    EXPECT_NE(x.FindById(7), nullptr);
    EXPECT_EQ(x.FindById(6), nullptr);
    EXPECT_EQ(x.FindById(8), nullptr);
    EXPECT_TRUE(x.IdByName("one", id));
    EXPECT_EQ(id, 7u);
    EXPECT_FALSE(x.IdByName("One", id));
}

TEST(CrossReferenceTest, SearchesFindEveryEntryAndTheFirstOfEqualNames) {
    CrossReference<ElementDef> x;
    Fill(x, {{30, "a"}, {5, "b"}, {12, "b"}, {40, "b"}, {9, "c-d"}, {2, "cd"}, {1, "z"}});
    for (std::uint32_t i = 0; i < x.EntryCount(); ++i) {
        const ElementDef* d = x.At(i);
        EXPECT_EQ(x.FindById(d->Id()), d);
    }
    std::uint32_t id = 0;
    EXPECT_TRUE(x.IdByName("b", id));
    EXPECT_EQ(id, 5u);
    std::uint32_t position = 0;
    EXPECT_TRUE(x.FindPosition("b", position));
    EXPECT_EQ(position, 1u);
    EXPECT_TRUE(x.IdByName("cd", id));
    EXPECT_EQ(id, 2u);
    EXPECT_EQ(x.FindById(0), nullptr);   // below the first key
    EXPECT_EQ(x.FindById(41), nullptr);  // above the last
    EXPECT_FALSE(x.IdByName("bb", id));
}

TEST(CrossReferenceTest, APairIndexPastTheDefinitionsFindsNothing) {
    CrossReference<ElementDef> x;
    x.Append({4, 9}, Def(4, "x"));
    std::uint32_t index = 0;
    EXPECT_TRUE(x.FindIndex(4, index));
    EXPECT_EQ(index, 9u);
    EXPECT_EQ(x.FindById(4), nullptr);
}

// A learned definition goes between the others: every pair that named a
// later definition must follow it, and the count grows by one.
TEST(CrossReferenceTest, InsertKeepsBothOrdersAndEveryIndex) {
    CrossReference<ElementDef> x;
    Fill(x, {{30, "a"}, {5, "c"}, {12, "e"}, {40, "g"}});
    for (auto [id, name] : std::vector<std::pair<std::uint32_t, const char*>>{
             {186, "d"}, {187, "0"}, {3, "z"}, {188, "c"}, {20, "b"}}) {
        x.Insert(Def(id, name));
    }
    ASSERT_EQ(x.EntryCount(), 9u);
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < x.EntryCount(); ++i) names.push_back(x.At(i)->Name().Text());
    EXPECT_EQ(names, (std::vector<std::string>{"0", "a", "b", "c", "c", "d", "e", "g", "z"}));
    for (std::uint32_t i = 0; i + 1 < x.EntryCount(); ++i) EXPECT_LT(x.PairAt(i)->key, x.PairAt(i + 1)->key);
    for (std::uint32_t i = 0; i < x.EntryCount(); ++i) {
        const IDIndexPair& pair = *x.PairAt(i);
        ASSERT_NE(x.FindById(pair.key), nullptr);
        EXPECT_EQ(x.FindById(pair.key)->Id(), pair.key);
    }
    // The older of two equal names stays the one found.
    std::uint32_t id = 0;
    EXPECT_TRUE(x.IdByName("c", id));
    EXPECT_EQ(id, 5u);
}

// Look-ups by id are remembered: a definition found once must not outlive
// a Clear, and ids that share a remembered place must each find their own.
TEST(CrossReferenceTest, RememberedLookUpsFollowClearAndCrowdedPlaces) {
    CrossReference<ElementDef> x;
    std::vector<std::pair<std::uint32_t, const char*>> many;
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < 300; ++i) names.push_back("n" + std::to_string(1000 + i));
    for (std::uint32_t i = 0; i < 300; ++i) many.push_back({i * 65536u + 7u, names[i].c_str()});
    Fill(x, many);
    for (int round = 0; round < 2; ++round) {
        for (const auto& [id, name] : many) {
            const ElementDef* d = x.FindById(id);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->Id(), id);
        }
    }
    x.Clear();
    EXPECT_EQ(x.FindById(7u), nullptr);
    x.Insert(Def(7u, "again"));
    ASSERT_NE(x.FindById(7u), nullptr);
    EXPECT_EQ(std::string(x.FindById(7u)->Name().Text()), "again");
    EXPECT_EQ(x.FindById(65536u + 7u), nullptr);
}

// Inserts between look-ups, as a parse learns names: each look-up by id, and
// each pair's index when asked for, names the definition of that id.
TEST(CrossReferenceTest, IndexesFollowInsertsBetweenLookUps) {
    CrossReference<ElementDef> x;
    Fill(x, {{30, "m"}, {5, "c"}});
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < 200; ++i) names.push_back("k" + std::to_string((i * 7919u) % 1000u));
    for (std::uint32_t i = 0; i < 200; ++i) {
        x.Insert(Def(100 + i, names[i].c_str()));
        ASSERT_NE(x.FindById(100 + i), nullptr);
        EXPECT_EQ(x.FindById(30)->Name().Text(), std::string("m"));
        if (i % 50 != 0) continue;
        for (std::uint32_t p = 0; p < x.EntryCount(); ++p) {
            const IDIndexPair& pair = *x.PairAt(p);
            ASSERT_NE(x.At(pair.index), nullptr);
            EXPECT_EQ(x.At(pair.index)->Id(), pair.key);
            std::uint32_t index = 0;
            ASSERT_TRUE(x.FindIndex(pair.key, index));
            EXPECT_EQ(index, pair.index);
        }
    }
}

// Learned definitions join the name order only when positions are asked
// for: at every point the order, each pair's index and the namesakes must be
// those that inserting each one after the names not greater than its own
// gives.
TEST(CrossReferenceTest, LearnedDefinitionsTakeThePlacesInsertingWouldGive) {
    CrossReference<ElementDef> x;
    Fill(x, {{30, "k3"}, {5, "k3"}, {12, "k7"}});
    std::vector<std::pair<std::string, std::uint32_t>> model = {{"k3", 30}, {"k3", 5}, {"k7", 12}};
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < 400; ++i) names.push_back("k" + std::to_string((i * 7919u) % 23u));
    for (std::uint32_t i = 0; i < 400; ++i) {
        const std::uint32_t id = 100 + i;
        x.Insert(Def(id, names[i].c_str()));
        const auto at = std::upper_bound(model.begin(), model.end(), names[i],
                                         [](const std::string& name, const auto& held) {
                                             return CompareNames(name.c_str(), held.first.c_str()) < 0;
                                         });
        model.insert(at, {names[i], id});
        // Looked up by name between insertions, as a parse does; in order
        // now and then.
        ASSERT_NE(x.FindByName(names[i].c_str()), nullptr);
        if (i % 37 != 0 && i != 399) continue;
        ASSERT_EQ(x.EntryCount(), model.size());
        for (std::uint32_t p = 0; p < model.size(); ++p) ASSERT_EQ(x.At(p)->Id(), model[p].second) << p;
        for (std::uint32_t p = 0; p < x.EntryCount(); ++p) {
            ASSERT_EQ(x.At(x.PairAt(p)->index)->Id(), x.PairAt(p)->key);
        }
    }
    // The namesakes run in name order, the file's first.
    for (std::uint32_t p = 0; p < model.size();) {
        const ElementDef* d = x.FindByName(model[p].first.c_str());
        for (; p < model.size() && d && model[p].first == d->Name().Text(); ++p, d = x.NextNamesake(*d)) {
            ASSERT_EQ(d->Id(), model[p].second) << p;
        }
        ASSERT_EQ(d, nullptr) << p;
    }
    EXPECT_EQ(x.FindByName("k3")->Id(), 30u);
}

// A long list keeps its ids hashed; every change leaves Contains right.
TEST(IdListTest, ContainsFollowsEveryChangeOfALongList) {
    IdList ids;
    for (std::uint32_t i = 0; i < 100; ++i) ids.Add(i * 3);
    EXPECT_TRUE(ids.Contains(297));
    EXPECT_FALSE(ids.Contains(298));
    ids.Remove(297);
    EXPECT_FALSE(ids.Contains(297));
    ids.Add(298);
    EXPECT_TRUE(ids.Contains(298));
    ids.Truncate(40);
    EXPECT_FALSE(ids.Contains(150));
    EXPECT_TRUE(ids.Contains(117));
    ids.Truncate(10);
    EXPECT_TRUE(ids.Contains(27));
    EXPECT_FALSE(ids.Contains(30));
    IdList copy = ids;
    ids.Clear();
    EXPECT_FALSE(ids.Contains(0));
    EXPECT_TRUE(copy.Contains(0));
    EXPECT_EQ(copy.Count(), 10u);
}

}  // namespace
}  // namespace markup
