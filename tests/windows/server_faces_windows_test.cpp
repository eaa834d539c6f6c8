// --sessions and --open-files as sharemon.com runs them, over the stand-in NETAPI32.DLL: its
// sessions and one share's files as escaped tab-separated rows, and a refusal told with what
// to do on Windows.
#include <windows.h>

#include <gtest/gtest.h>
#include <lm.h>

#include <string>
#include <vector>

#include "core/server_faces.h"
#include "standin_net_api.h"
#include "tests/support/tab_separated_rows.h"
#include "standins.h"

namespace {

std::vector<std::vector<std::string>> Rows(const core::FaceOutput& output) {
  EXPECT_EQ(output.exit_code, 0) << output.error;
  return TabSeparatedRows(output.out);
}

TEST(server_faces_windows_test, the_servers_sessions_and_a_shares_files_come_as_one_escaped_row_each) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  net_api.Behave({NERR_Success, NERR_Success, static_cast<DWORD>(standin::ListedShares().size()), NERR_Success, 2});
  const auto sessions = Rows(core::SessionsOutput(platform::ReadSessions()));
  const std::vector<std::vector<std::string>> expected = {
      {"alice", "PC-01", "Windows 10 Pro 19045", "", "", "2", "0:01:00"},
      {"Иванов", "БУХ-01", "SMB 3.1.1", "", "", "1", "0:00:00"},
      {"o'brien\\t\"x\"\\n", "LAB-1", "", "", "", "0", "0:00:05"},
  };
  ASSERT_EQ(sessions.size(), expected.size() + 1);
  EXPECT_EQ(sessions[0].at(0), "Пользователь");
  for (std::size_t i = 0; i < expected.size(); ++i) {
    auto row = sessions[i + 1];
    ASSERT_EQ(row.size(), 8u) << i;
    EXPECT_FALSE(row[6].empty()) << "connected at";
    row.erase(row.begin() + 6);
    EXPECT_EQ(row, expected[i]);
  }
  const std::vector<std::vector<std::string>> files = {
      {"Файл", "Шара", "Пользователь", "Компьютер", "Доступ", "Блокировки", "Открыт"},
      {"readme.txt", "public", "alice", "", "R", "0", ""},
      {"", "public", "dave", "", "R", "0", ""},
  };
  EXPECT_EQ(Rows(core::OpenFilesOutput(platform::ReadOpenFiles("public"))), files);
}

TEST(server_faces_windows_test, access_denied_prints_nothing_and_says_to_run_as_an_administrator) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  net_api.Behave({0, 0, static_cast<DWORD>(standin::ListedShares().size()), ERROR_ACCESS_DENIED});
  for (const auto& output :
       {core::SessionsOutput(platform::ReadSessions()), core::OpenFilesOutput(platform::ReadOpenFiles(""))}) {
    EXPECT_EQ(output.exit_code, 1);
    EXPECT_EQ(output.out, "");
    EXPECT_NE(output.error.find("от имени администратора"), std::string::npos) << output.error;
  }
}

}  // namespace
