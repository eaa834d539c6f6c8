// The rows of sessions and open files: each record's cells under its column, and the stable
// sort by a column, text without regard to case, numbers and times by value, absent first.
#include "core/server_rows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

#include "rtl/regional_settings.h"
#include "tests/support/windows1251_text.h"

namespace {

using platform::OpenFileRecord;
using platform::ProtectionDegree;
using platform::SessionRecord;
using std::chrono::sys_days;
using namespace std::chrono_literals;

// The cells shown in UTC with the program's own date and time formats, whatever the machine's.
class server_rows_test : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
  }
  void TearDown() override {
    saved_zone_.empty() ? unsetenv("TZ") : setenv("TZ", saved_zone_.c_str(), 1);
    tzset();
  }

 private:
  std::string saved_zone_ = std::getenv("TZ") != nullptr ? std::getenv("TZ") : "";
};

template <typename Columns, typename Record>
std::string Joined(const Columns& columns, const Record& record) {
  std::string joined;
  for (const auto& cell : core::RowCells(columns, record)) joined.append(rtl::Utf8FromWindows1251(cell)).append("|");
  return joined.substr(0, joined.size() - 1);
}

SessionRecord Session(const std::string& user, std::optional<std::int32_t> files,
                      std::optional<std::chrono::sys_seconds> connected) {
  return {W(user), "", "", {}, {}, connected, std::nullopt, files};
}

const std::chrono::sys_seconds kMarch5 = sys_days{std::chrono::year{2026} / 3 / 5} + 9h + 7min + 3s;

TEST_F(server_rows_test, a_record_shows_each_field_in_its_column_and_an_absent_one_as_an_empty_cell) {
  SessionRecord samba{W("Иванов"), "10.0.0.7", "SMB3_11", {ProtectionDegree::kFull, "AES-128-GCM"},
                      {ProtectionDegree::kPartial, ""}, kMarch5, std::nullopt, 2};
  SessionRecord windows{"bob", "PC-01", "Windows 10", {}, {}, std::nullopt, 90061, std::nullopt};
  EXPECT_EQ(Joined(core::SessionColumns(), samba),
            "Иванов|10.0.0.7|SMB3_11|full (AES-128-GCM)|partial|2|05.03.2026 9:07:03|");
  EXPECT_EQ(Joined(core::SessionColumns(), windows), "bob|PC-01|Windows 10|||||25:01:01");

  const std::pair<OpenFileRecord, std::string> files[] = {
      {{"public", W("2025/Итоги.xlsx"), "alice", "127.0.0.1", {true, true, true}, "R", "RWH lease", kMarch5},
       "2025/Итоги.xlsx|public|alice|127.0.0.1|RWD|RWH lease|05.03.2026 9:07:03"},
      {{"", "C:/x.txt", "bob", "", {false, true, false}, "", "2", std::nullopt}, "C:/x.txt||bob||W|2|"},
      {{"C$", "", "carol", "", {}, "", "0", std::nullopt}, "|C$|carol|||0|"},
  };
  for (const auto& [file, cells] : files) EXPECT_EQ(Joined(core::OpenFileColumns(), file), cells);
}

TEST_F(server_rows_test, a_sort_by_a_column_keeps_equal_rows_in_their_order_both_ways) {
  const std::vector<SessionRecord> records = {
      Session("bob", 3, kMarch5),       Session("Алла", std::nullopt, kMarch5 - 1h), Session("Bob", 12, std::nullopt),
      Session("ёж", 3, kMarch5 + 1s),   Session("алексей", 0, kMarch5),
  };
  enum { kUser = 0, kFiles = 5, kConnected = 6 };
  const std::tuple<int, bool, std::vector<std::size_t>> cases[] = {
      {kUser, false, {0, 2, 4, 1, 3}},  // case and Ё aside; the two Bobs as given
      {kUser, true, {3, 1, 4, 0, 2}},
      {kFiles, false, {1, 4, 0, 3, 2}},  // 12 after 3: by value, not by text
      {kFiles, true, {2, 0, 3, 4, 1}},
      {kConnected, false, {2, 1, 0, 4, 3}},
      {kConnected, true, {3, 0, 4, 1, 2}},
  };
  for (const auto& [column, descending, order] : cases) {
    EXPECT_EQ(core::SortedOrder(records, core::SessionColumns().at(column), descending), order) << column << descending;
  }
}

}  // namespace
