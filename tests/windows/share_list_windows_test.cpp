// The share list on Windows through the stand-in NETAPI32.DLL: level 2, level 1 when level 2
// is refused for want of rights, an empty list on every other failure, and every buffer the
// library hands out given back.
#include <windows.h>

#include <gtest/gtest.h>
#include <lm.h>

#include <string>
#include <vector>

#include "platform/share_list.h"
#include "rtl/text.h"
#include "standin_net_api.h"
#include "standins.h"

namespace {

std::vector<rtl::Text> FirstListed(std::size_t count) {
  std::vector<rtl::Text> names;
  for (std::size_t i = 0; i < count; ++i) names.push_back(rtl::Windows1251FromUtf8(standin::ListedShares()[i].name));
  return names;
}

TEST(share_list_windows_test, lists_at_level_2_or_1_and_gives_every_buffer_back) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  const DWORD all = static_cast<DWORD>(standin::ListedShares().size());
  struct Case {
    const char* what;
    standin::NetApiBehaviour behaviour;
    std::size_t names;  // the first this many of the list
    LONG level1_calls;
    LONG buffers;
  };
  const Case cases[] = {
      {"level 2", {NERR_Success, NERR_Success, all}, all, 0, 1},
      {"no shares", {NERR_Success, NERR_Success, 0}, 0, 0, 1},
      {"level 1 after access denied", {ERROR_ACCESS_DENIED, NERR_Success, all}, all, 1, 1},
      {"level 1 refused too", {ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, all}, 0, 1, 0},
      {"level 1 with more data", {ERROR_ACCESS_DENIED, ERROR_MORE_DATA, all}, 0, 1, 1},
      {"not supported", {ERROR_NOT_SUPPORTED, NERR_Success, all}, 0, 0, 0},
      {"more data", {ERROR_MORE_DATA, NERR_Success, all}, 0, 0, 1},
      {"server not started", {NERR_ServerNotStarted, NERR_Success, all}, 0, 0, 0},
  };
  for (const auto& c : cases) {
    net_api.Behave(c.behaviour);
    rtl::StringList shares;
    shares.Add("stale");
    platform::EnumerateShares(shares);
    EXPECT_EQ(shares.Entries(), FirstListed(c.names)) << c.what;
    const auto counts = net_api.Counts();
    EXPECT_EQ(counts.level2_calls, 1) << c.what;
    EXPECT_EQ(counts.level1_calls, c.level1_calls) << c.what;
    EXPECT_EQ(counts.other_calls, 0) << c.what;
    EXPECT_EQ(counts.buffers_given, c.buffers) << c.what;
    EXPECT_EQ(counts.buffers_freed, c.buffers) << c.what;
    EXPECT_EQ(counts.unknown_frees, 0) << c.what;
  }
}

TEST(share_list_windows_test, a_name_the_code_page_cannot_hold_keeps_its_other_letters) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  net_api.Behave({NERR_Success, NERR_Success, static_cast<DWORD>(standin::ListedShares().size())});
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  ASSERT_EQ(shares.Count(), static_cast<int>(standin::ListedShares().size()));
  EXPECT_EQ(shares[shares.Count() - 1], "?mega");
}

}  // namespace
