#include "win32/unique_owner.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct CountingTraits {
    static int Invalid() { return -1; }
    static bool IsValid(int handle) { return handle >= 0; }
    static void Close(int handle) { closed.push_back(handle); }
};

using Owner = UniqueHandle<int, CountingTraits>;

class UniqueOwner : public ::testing::Test {
protected:
    void SetUp() override { closed.clear(); }
};

}  // namespace

TEST_F(UniqueOwner, ResetWithTheHandleItHoldsKeepsItOpen) {
    {
        Owner owner(7);
        owner.Reset(7);
        EXPECT_TRUE(closed.empty());
        EXPECT_EQ(owner.Get(), 7);
    }
    EXPECT_EQ(closed, std::vector<int>{7});   // closed once, when the owner goes
}

TEST_F(UniqueOwner, EachHandleIsClosedExactlyOnce) {
    {
        Owner a(1);
        a.Reset(2);                           // 1 closed
        Owner b(static_cast<Owner&&>(a));     // b holds 2, a nothing
        EXPECT_FALSE(a);
        Owner c(3);
        c = static_cast<Owner&&>(b);          // 3 closed, c holds 2
        Owner& self = c;
        c = static_cast<Owner&&>(self);       // moving onto itself keeps 2
        EXPECT_EQ(c.Get(), 2);
        int released = Owner(4).Release();    // released, never closed
        EXPECT_EQ(released, 4);
        *c.Put() = 5;                         // 2 closed, 5 taken over
    }
    EXPECT_EQ(closed, (std::vector<int>{1, 3, 2, 5}));
}
