#include "core/accumulated_users.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(accumulated_users_test, names_keep_their_order_and_duplicates_until_taken) {
  core::AccumulatedUsers users;
  users.Add({"alice@1", "bob@2"});
  users.Add({"alice@1"});
  EXPECT_EQ(users.Take(), (rtl::StringList{"alice@1", "bob@2", "alice@1"}));
  EXPECT_EQ(users.Count(), 0u);
  EXPECT_TRUE(users.Take().Empty());
}

TEST(accumulated_users_test, past_the_limit_the_oldest_names_drop_out) {
  core::AccumulatedUsers users;
  std::vector<rtl::Text> batch;
  for (std::size_t i = 0; i < core::AccumulatedUsers::kLimit; ++i) batch.push_back("user" + std::to_string(i));
  users.Add(batch);
  users.Add({"newest1", "newest2", "newest3"});
  EXPECT_EQ(users.Count(), core::AccumulatedUsers::kLimit);
  const rtl::StringList kept = users.Take();
  ASSERT_EQ(static_cast<std::size_t>(kept.Count()), core::AccumulatedUsers::kLimit);
  EXPECT_EQ(kept[0], "user3");
  EXPECT_EQ(kept[kept.Count() - 1], "newest3");
}

}  // namespace
