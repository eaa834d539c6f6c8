// Sessions and open files on Windows through the stand-in NETAPI32.DLL: its records as
// program text, read page by page, each open file given to the share whose folder holds it
// most closely, a refusal told as such, and every buffer the library hands out given back.
#include <windows.h>

#include <gtest/gtest.h>
#include <lm.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/server_sessions.h"
#include "rtl/text.h"
#include "standin_net_api.h"
#include "standins.h"

namespace {

using platform::ServerReadOutcome;
using std::chrono::seconds;

const DWORD kAllShares = static_cast<DWORD>(standin::ListedShares().size());

std::string Utf8(const rtl::Text& text) { return rtl::Utf8FromWindows1251(text); }

// share|path|user|access (r, w, d or -)|locks, in UTF-8.
std::vector<std::string> Rows(const platform::OpenFileReading& reading) {
  std::vector<std::string> rows;
  for (const auto& f : reading.records) {
    const std::string access = {f.access.read ? 'r' : '-', f.access.write ? 'w' : '-', f.access.erase ? 'd' : '-'};
    rows.push_back(Utf8(f.share) + "|" + Utf8(f.path) + "|" + Utf8(f.user) + "|" + access + "|" + f.locks);
  }
  return rows;
}

void ExpectEveryBufferBack(const standin::StandinNetApi& net_api, const std::string& what) {
  const auto counts = net_api.Counts();
  EXPECT_GT(counts.buffers_given, 0) << what;
  EXPECT_EQ(counts.buffers_freed, counts.buffers_given) << what;
  EXPECT_EQ(counts.unknown_frees + counts.other_calls, 0) << what;
}

TEST(server_sessions_windows_test, sessions_come_as_the_server_lists_them_page_by_page) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  const std::vector<std::string> computers = {"PC-01", "БУХ-01", "LAB-1"};  // without the UNC backslashes
  for (const DWORD page_size : {0u, 1u, 2u}) {
    net_api.Behave({NERR_Success, NERR_Success, kAllShares, NERR_Success, page_size});
    const auto before = std::chrono::floor<seconds>(std::chrono::system_clock::now());
    const auto reading = platform::ReadSessions();
    const auto after = std::chrono::ceil<seconds>(std::chrono::system_clock::now());
    const std::string what = "page of " + std::to_string(page_size);
    ASSERT_EQ(reading.outcome, ServerReadOutcome::kRead) << what;
    ASSERT_EQ(reading.records.size(), computers.size()) << what;
    for (std::size_t i = 0; i < computers.size(); ++i) {
      const auto& listed = standin::ListedSessions()[i];
      const auto& session = reading.records[i];
      EXPECT_EQ(Utf8(session.user) + "|" + Utf8(session.computer) + "|" + Utf8(session.dialect),
                listed.user + "|" + computers[i] + "|" + listed.client_type) << what;
      EXPECT_EQ(session.idle_seconds, listed.idle_seconds) << what;
      EXPECT_EQ(session.open_files, static_cast<std::int32_t>(listed.open_files)) << what;
      EXPECT_GE(session.connected_at, before - seconds(listed.seconds)) << what;
      EXPECT_LE(session.connected_at, after - seconds(listed.seconds)) << what;
    }
    EXPECT_EQ(net_api.Counts().buffers_given, page_size == 0 ? 1 : (3 + page_size - 1) / page_size) << what;
    ExpectEveryBufferBack(net_api, what);
  }
}

TEST(server_sessions_windows_test, an_open_file_belongs_to_the_share_whose_folder_holds_it_most_closely) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  const std::string readme = "public|readme.txt|alice|r--|0", plan = "?mega|plan.docx|bob|rw-|2";
  const std::string report = "Отчеты за год|2025/Итоги.xlsx|Иванов|r-d|1";
  const std::string beside = "C$|Shares/publications/x.txt|carol|-w-|0";  // not in public
  const std::string folder = "public||dave|r--|0";
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"", {readme, plan, beside, report, "|\\PIPE\\srvsvc|alice|rw-|0", folder}},
      {"public", {readme, folder}}, {"PUBLIC", {readme, folder}}, {"?mega", {plan}}, {"C$", {beside}},
      {"ОТЧЕТЫ ЗА ГОД", {report}}, {"IPC$", {}}, {"absent", {}},
  };
  for (const auto& [share, rows] : cases) {
    net_api.Behave({NERR_Success, NERR_Success, kAllShares, NERR_Success, 2});
    const auto reading = platform::ReadOpenFiles(rtl::Windows1251FromUtf8(share));
    EXPECT_EQ(reading.outcome, ServerReadOutcome::kRead) << share;
    EXPECT_EQ(Rows(reading), rows) << share;
    ExpectEveryBufferBack(net_api, share);
  }
}

TEST(server_sessions_windows_test, a_refusal_gives_no_records_and_says_what_to_do) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  constexpr auto kRead = ServerReadOutcome::kRead, kDenied = ServerReadOutcome::kAccessDenied;
  struct Case {
    standin::NetApiBehaviour behaviour;
    ServerReadOutcome sessions, files;
    const char* said;  // in each error
  };
  const Case cases[] = {
      {{0, 0, kAllShares, ERROR_ACCESS_DENIED}, kDenied, kDenied, "от имени администратора"},
      {{0, 0, kAllShares, NERR_ServerNotStarted}, ServerReadOutcome::kNoService, ServerReadOutcome::kNoService, "LanmanServer"},
      {{0, 0, kAllShares, ERROR_NOT_SUPPORTED}, ServerReadOutcome::kFailed, ServerReadOutcome::kFailed, "ошибка Windows 50"},
      {{ERROR_ACCESS_DENIED, 0, kAllShares, 0}, kRead, kDenied, "от имени администратора"},  // the shares' folders
  };
  for (const auto& c : cases) {
    net_api.Behave(c.behaviour);
    const auto sessions = platform::ReadSessions();
    const auto files = platform::ReadOpenFiles("");
    const std::string what = Utf8(files.error);
    EXPECT_EQ(sessions.outcome, c.sessions) << what;
    EXPECT_EQ(files.outcome, c.files) << what;
    EXPECT_TRUE(files.records.empty()) << what;
    EXPECT_NE(what.find(c.said), std::string::npos) << what;
    EXPECT_EQ(Utf8(sessions.error).find(c.said) != std::string::npos, !sessions.Read()) << what;
    EXPECT_EQ(net_api.Counts().buffers_freed, net_api.Counts().buffers_given) << what;
  }
}

TEST(server_sessions_windows_test, a_reading_keeps_the_first_records_up_to_the_most_and_says_it_was_cut) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  const std::size_t files = standin::ListedFiles().size();
  const DWORD copies_within = static_cast<DWORD>(platform::kMostServerRecords / files);
  for (const DWORD copies : {copies_within, copies_within + 1}) {
    net_api.Behave({NERR_Success, NERR_Success, kAllShares, NERR_Success, 7000, copies});
    const auto reading = platform::ReadOpenFiles("");
    EXPECT_EQ(reading.records.size(), std::min(copies * files, platform::kMostServerRecords)) << copies;
    EXPECT_EQ(reading.truncated, copies > copies_within) << copies;
    ExpectEveryBufferBack(net_api, std::to_string(copies));
  }
}

}  // namespace
