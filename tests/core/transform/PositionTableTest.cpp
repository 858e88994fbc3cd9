// Position tables answer as an ordered map of the same pairs would, whether they are flat or
// fall back to a sorted list.
#include "core/transform/PositionTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace md {
namespace {

std::uint32_t Key(std::uint32_t x, std::uint32_t y)
{
    return x | (y << 16);
}

TEST(PositionTableTest, FlatAndSortedTablesAnswerAsAnOrderedMap)
{
    std::mt19937 random(7);
    // Keys in a 40 x 30 box with many repeats, plus a few far out (a hostile file's points).
    std::vector<std::uint32_t> keys;
    std::uniform_int_distribution<std::uint32_t> x(0, 39), y(0, 29);
    for (int i = 0; i < 3000; ++i)
        keys.push_back(Key(x(random), y(random)));
    std::vector<std::uint32_t> values(keys.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint32_t>(i * 7 % 1000);
    std::map<std::uint32_t, std::uint32_t> reference;
    for (std::size_t i = 0; i < keys.size(); ++i)
        reference[keys[i]] = values[i]; // a later key replaces the earlier

    for (const bool withFarKeys : {false, true}) {
        if (withFarKeys)
            for (const std::uint32_t far : {Key(65535, 3), Key(2, 65535), Key(65535, 65535)}) {
                keys.push_back(far);
                values.push_back(far % 977);
                reference[far] = far % 977;
            }
        PositionTable flat;
        PositionTable sorted(0); // never flat
        flat.Assign(keys, values);
        sorted.Assign(keys, values);
        EXPECT_EQ(flat.IsFlat(), !withFarKeys); // a 65536 x 65536 box is not kept flat
        EXPECT_FALSE(sorted.IsFlat());
        for (const PositionTable* table : {&flat, &sorted}) {
            EXPECT_EQ(table->Size(), reference.size());
            for (std::uint32_t ky = 0; ky < 32; ++ky)
                for (std::uint32_t kx = 0; kx < 42; ++kx) {
                    const auto found = reference.find(Key(kx, ky));
                    const std::uint32_t want =
                        found == reference.end() ? PositionTable::kNone : found->second;
                    ASSERT_EQ(table->Find(Key(kx, ky)), want) << kx << "," << ky;
                }
            EXPECT_EQ(table->Find(Key(65535, 65535)),
                      withFarKeys ? 65535u * 65537u % 977 : PositionTable::kNone);
        }

        // The distinct keys in key order, flat or sorted alike.
        std::vector<std::uint32_t> distinct;
        for (const auto& entry : reference)
            distinct.push_back(entry.first);
        EXPECT_EQ(PositionTable::Distinct(keys), distinct);
        EXPECT_EQ(PositionTable::Distinct(keys, 0), distinct);
    }

    PositionTable empty;
    empty.Assign({}, {});
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(empty.Find(0), PositionTable::kNone);
    EXPECT_TRUE(PositionTable::Distinct({}).empty());
}

} // namespace
} // namespace md
