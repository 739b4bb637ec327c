#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/cellstore.h"

namespace {

TEST(CellStore, StartsZeroedAndKeepsAnyValue) {
    TCellStore store(256);
    EXPECT_EQ(store.Count(), 256);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(store.GetContents(i), 0);
    store.SetContents(7, 0x1234);  // no range is enforced
    store.SetContents(8, -5);
    EXPECT_EQ(store.GetContents(7), 0x1234);
    EXPECT_EQ(store.GetContents(8), -5);
}

TEST(CellStore, NotifiesEveryWriteWithOldAndNewValue) {
    TCellStore store(16);
    std::vector<std::tuple<CellStore*, int, int, int>> seen;
    store.OnCellChanged = [&](CellStore* s, int i, int o, int n) { seen.emplace_back(s, i, o, n); };
    store.SetContents(15, 0x41);
    store.SetContents(15, 0x41);  // unchanged values are announced too
    store.SetContents(3, 9);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_tuple(static_cast<CellStore*>(&store), 15, 0, 0x41));
    EXPECT_EQ(seen[1], std::make_tuple(static_cast<CellStore*>(&store), 15, 0x41, 0x41));
    EXPECT_EQ(seen[2], std::make_tuple(static_cast<CellStore*>(&store), 3, 0, 9));
}

TEST(CellStore, OutOfRangeIndexThrowsWithExactMessageAndChangesNothing) {
    struct Case {
        int count, index;
        bool set;
        const char* message;
    };
    const Case cases[] = {
        {256, 256, false, "THexGrid::GetContents: Address (256) out of bounds (0..255)"},
        {256, -1, false, "THexGrid::GetContents: Address (-1) out of bounds (0..255)"},
        {16, 16, true, "THexGrid::SetContents: Address (16) out of bounds (0..15)"},
        {2, -7, true, "THexGrid::SetContents: Address (-7) out of bounds (0..1)"},
    };
    for (const Case& c : cases) {
        TCellStore store(c.count);
        int events = 0;
        store.OnCellChanged = [&](CellStore*, int, int, int) { ++events; };
        try {
            if (c.set)
                store.SetContents(c.index, 1);
            else
                store.GetContents(c.index);
            ADD_FAILURE() << "no exception for index " << c.index;
        } catch (const EInvalidGridOperation& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(events, 0);
    }
}

}  // namespace
