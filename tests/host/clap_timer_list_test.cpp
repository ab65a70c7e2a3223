#include "host/loader/clap_timer_list.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ClapTimerList, GivesIdsThatNoRegisteredTimerHoldsAndKeepsAtMostSixteen) {
    ClapTimerList timers;
    clap_id first = 0, second = 0, third = 0;
    ASSERT_TRUE(timers.add(&first));
    ASSERT_TRUE(timers.add(&second));
    ASSERT_TRUE(timers.remove(first));
    ASSERT_TRUE(timers.add(&third));  // the list is as long as before: its length must not make the id
    EXPECT_NE(third, second);
    EXPECT_FALSE(timers.remove(first)) << "already gone";
    EXPECT_FALSE(timers.add(nullptr));

    std::set<clap_id> ids{second, third};
    clap_id id = 0;
    while (timers.add(&id)) ids.insert(id);
    EXPECT_EQ(timers.registered().size(), ClapTimerList::kMaxTimers);
    EXPECT_EQ(ids.size(), ClapTimerList::kMaxTimers) << "every registered id differs";
}

}  // namespace
