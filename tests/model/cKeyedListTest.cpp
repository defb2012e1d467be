// Keyed list: lookups by key stay right through inserts and removals in the middle, keys
// ignore case, and refused operations leave the list alone.
#include "model/cKeyedList.h"

#include "foundation/cError.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using List = cKeyedList<int>;

// The keys of the list in order, read back through the values.
std::vector<int> values(const List& list)
{
    std::vector<int> out;
    for (const auto& v : list) {
        out.push_back(*v);
    }
    return out;
}

} // namespace

TEST(cKeyedListTest, KeysFindTheirElementsAndRefusalsChangeNothing)
{
    List list;
    list.Add(std::make_shared<int>(1), "K1");
    list.Add(std::make_shared<int>(2));
    list.Add(std::make_shared<int>(3), "K3");
    list.AddAfter(std::make_shared<int>(4), "K4", "k1");
    EXPECT_EQ(values(list), (std::vector<int>{1, 4, 2, 3}));
    EXPECT_EQ(*list.Find("k3"), 3);
    EXPECT_EQ(list.IndexOf("K3"), 4u);
    EXPECT_EQ(list.Find(""), nullptr);
    EXPECT_EQ(list.Find("K2"), nullptr);

    const auto before = list.Revision();
    EXPECT_THROW(list.Add(std::make_shared<int>(9), "k4"), cError);
    EXPECT_THROW(list.AddAfter(std::make_shared<int>(9), "K9", "K8"), cError);
    EXPECT_THROW(list.Remove("K8"), cError);
    EXPECT_THROW(list.Item(0), cError);
    EXPECT_THROW(list.Item(5), cError);
    EXPECT_EQ(list.Revision(), before);
    EXPECT_EQ(values(list), (std::vector<int>{1, 4, 2, 3}));

    list.Remove("K4");
    EXPECT_EQ(list.IndexOf("K3"), 3u);
    // A removed key can be used again.
    list.Add(std::make_shared<int>(5), "K4");
    EXPECT_EQ(list.IndexOf("K4"), 4u);
    EXPECT_NE(list.Revision(), before);
}

TEST(cKeyedListTest, PositionsMatchAPlainListUnderMixedChanges)
{
    // A seeded run of appends, inserts and removals, checked against a plain vector after
    // every step: every key must name the element at its true position.
    std::mt19937 rng(20240611);
    List list;
    std::vector<std::pair<std::string, int>> plain;
    int next = 0;
    for (int step = 0; step < 3000; ++step) {
        const int op = static_cast<int>(rng() % 6);
        const std::string key = "K" + std::to_string(next);
        if (plain.empty() || op < 2) {
            list.Add(std::make_shared<int>(next), key);
            plain.emplace_back(key, next);
        } else if (op < 4) {
            const std::size_t at = rng() % plain.size();
            list.AddAfter(std::make_shared<int>(next), key, plain[at].first);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at + 1), {key, next});
        } else if (op == 4) {
            const std::size_t at = rng() % plain.size();
            list.Remove(plain[at].first);
            plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            const int mod = static_cast<int>(rng() % 5) + 2;
            list.RemoveIf([mod](const auto& v) { return *v % mod == 0; });
            std::erase_if(plain, [mod](const auto& e) { return e.second % mod == 0; });
        }
        ++next;
        ASSERT_EQ(list.Count(), plain.size());
        const std::size_t probe = plain.empty() ? 0 : rng() % plain.size();
        if (!plain.empty()) {
            ASSERT_EQ(list.IndexOf(plain[probe].first), probe + 1) << "step " << step;
            ASSERT_EQ(*list.Item(probe + 1), plain[probe].second);
        }
    }
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_EQ(*list.Find(plain[i].first), plain[i].second);
    }
}
