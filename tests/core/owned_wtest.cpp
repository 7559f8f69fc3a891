// Owned: one owner at a time, each value closed exactly once.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/owned.h"

namespace {

std::vector<HANDLE> g_closed;
void RecordClose(HANDLE h) { g_closed.push_back(h); }
using Counted = tov::Owned<HANDLE, RecordClose>;

HANDLE Fake(UINT_PTR n) { return reinterpret_cast<HANDLE>(n); }

TEST(Owned, MovesHandOnAndEveryValueClosesOnce) {
  g_closed.clear();
  {
    Counted a(Fake(10));
    Counted b(std::move(a));
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_EQ(b.get(), Fake(10));
    Counted c(Fake(20));
    c = std::move(b);  // 20 closes, 10 moves on
    EXPECT_EQ(b.get(), nullptr);
    EXPECT_EQ(g_closed, (std::vector<HANDLE>{Fake(20)}));
    c = std::move(c);  // onto itself: nothing happens
    EXPECT_EQ(c.get(), Fake(10));
  }
  EXPECT_EQ(g_closed, (std::vector<HANDLE>{Fake(20), Fake(10)}));
}

TEST(Owned, ResetWithTheValueHeldClosesNothing) {
  g_closed.clear();
  Counted a(Fake(30));
  a.reset(a.get());
  EXPECT_TRUE(g_closed.empty());
  EXPECT_EQ(a.get(), Fake(30));
  a.reset(Fake(31));
  EXPECT_EQ(g_closed, (std::vector<HANDLE>{Fake(30)}));
  *a.put() = INVALID_HANDLE_VALUE;  // put closes 31 first; an invalid value is never closed
  a.reset();
  EXPECT_EQ(g_closed, (std::vector<HANDLE>{Fake(30), Fake(31)}));
  EXPECT_FALSE(a);
}

TEST(Owned, AMenuIsDestroyedWithItsLastOwner) {
  tov::Menu menu(CreatePopupMenu());
  ASSERT_TRUE(menu);
  HMENU raw = menu.get();
  tov::Menu other = std::move(menu);
  EXPECT_TRUE(IsMenu(raw));
  other.reset();
  EXPECT_FALSE(IsMenu(raw));
}

}  // namespace
