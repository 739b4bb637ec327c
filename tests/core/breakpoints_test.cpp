// Breakpoints: the set itself (runs that stop at one are the simulation's tests).
#include <gtest/gtest.h>

#include "core/breakpoints.h"

namespace {

TEST(Breakpoints, ToggleHasClear) {
    TBreakpoints set;
    EXPECT_TRUE(set.Empty());
    for (const int address : {-1, 256}) {
        set.Toggle(address);
        EXPECT_FALSE(set.Has(address));
    }
    EXPECT_TRUE(set.Empty());
    set.Toggle(0);
    set.Toggle(255);
    set.Toggle(7);
    set.Toggle(7);
    EXPECT_TRUE(set.Has(0));
    EXPECT_TRUE(set.Has(255));
    EXPECT_FALSE(set.Has(7));
    EXPECT_EQ(set.Addresses().count(), 2u);
    set.Clear();
    EXPECT_TRUE(set.Empty());
}

}  // namespace
