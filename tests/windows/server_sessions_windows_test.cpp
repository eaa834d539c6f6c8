// Sessions and open files on Windows through the stand-in NETAPI32.DLL: its records as
// program text, read page by page, each open file given to the share whose folder holds it
// most closely, a refusal told as such, and every buffer the library hands out given back.
#include <windows.h>

#include <gtest/gtest.h>
#include <lm.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/server_sessions.h"
#include "rtl/text.h"
#include "standin_net_api.h"
#include "standins.h"

namespace {

using platform::ServerReadOutcome;

const DWORD kAllShares = static_cast<DWORD>(standin::ListedShares().size());

std::string Utf8(const rtl::Text& text) { return rtl::Utf8FromWindows1251(text); }

// share|path|user|access (r, w, d or -)|locks, in UTF-8.
std::string Row(const platform::OpenFileRecord& file) {
  const std::string access = std::string(file.access.read ? "r" : "-") + (file.access.write ? "w" : "-") +
                             (file.access.erase ? "d" : "-");
  return Utf8(file.share) + "|" + Utf8(file.path) + "|" + Utf8(file.user) + "|" + access + "|" + file.locks;
}

std::vector<std::string> Rows(const platform::OpenFileReading& reading) {
  std::vector<std::string> rows;
  for (const auto& file : reading.records) rows.push_back(Row(file));
  return rows;
}

void ExpectEveryBufferBack(const standin::StandinNetApi& net_api, const std::string& what) {
  const auto counts = net_api.Counts();
  EXPECT_GT(counts.buffers_given, 0) << what;
  EXPECT_EQ(counts.buffers_freed, counts.buffers_given) << what;
  EXPECT_EQ(counts.unknown_frees, 0) << what;
  EXPECT_EQ(counts.other_calls, 0) << what;
}

TEST(server_sessions_windows_test, sessions_come_as_the_server_lists_them_page_by_page) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  for (const DWORD page_size : {0u, 1u, 2u}) {
    net_api.Behave({NERR_Success, NERR_Success, kAllShares, NERR_Success, page_size});
    const auto before = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const auto reading = platform::ReadSessions();
    const auto after = std::chrono::ceil<std::chrono::seconds>(std::chrono::system_clock::now());
    const std::string what = "page of " + std::to_string(page_size);
    ASSERT_EQ(reading.outcome, ServerReadOutcome::kRead) << what;
    EXPECT_FALSE(reading.truncated) << what;
    const std::vector<std::string> computers = {"PC-01", "БУХ-01", "LAB-1"};
    ASSERT_EQ(reading.records.size(), standin::ListedSessions().size()) << what;
    for (std::size_t i = 0; i < computers.size(); ++i) {
      const auto& listed = standin::ListedSessions()[i];
      const auto& session = reading.records[i];
      EXPECT_EQ(Utf8(session.user), listed.user) << what;
      EXPECT_EQ(Utf8(session.computer), computers[i]) << what;
      EXPECT_EQ(Utf8(session.dialect), listed.client_type) << what;
      EXPECT_EQ(session.idle_seconds, listed.idle_seconds) << what;
      EXPECT_EQ(session.open_files, static_cast<std::int32_t>(listed.open_files)) << what;
      ASSERT_TRUE(session.connected_at.has_value()) << what;
      EXPECT_GE(*session.connected_at, before - std::chrono::seconds(listed.seconds)) << what;
      EXPECT_LE(*session.connected_at, after - std::chrono::seconds(listed.seconds)) << what;
      EXPECT_EQ(session.encryption.degree, platform::ProtectionDegree::kUnknown) << what;
    }
    EXPECT_EQ(net_api.Counts().buffers_given, page_size == 0 ? 1 : (3 + page_size - 1) / page_size) << what;
    ExpectEveryBufferBack(net_api, what);
  }
}

TEST(server_sessions_windows_test, an_open_file_belongs_to_the_share_whose_folder_holds_it_most_closely) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  const std::string readme = "public|readme.txt|alice|r--|0";
  const std::string plan = "?mega|plan.docx|bob|rw-|2";
  const std::string report = "Отчеты за год|2025/Итоги.xlsx|Иванов|r-d|1";
  const std::string beside = "C$|Shares/publications/x.txt|carol|-w-|0";  // not in public
  struct Case {
    const char* share;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"", {readme, plan, beside, report, "|\\PIPE\\srvsvc|alice|rw-|0"}},
      {"public", {readme}},
      {"PUBLIC", {readme}},
      {"?mega", {plan}},
      {"C$", {beside}},
      {"Отчеты за год", {report}},
      {"ОТЧЕТЫ ЗА ГОД", {report}},
      {"IPC$", {}},
      {"absent", {}},
  };
  for (const auto& c : cases) {
    net_api.Behave({NERR_Success, NERR_Success, kAllShares, NERR_Success, 2});
    const auto reading = platform::ReadOpenFiles(rtl::Windows1251FromUtf8(c.share));
    EXPECT_EQ(reading.outcome, ServerReadOutcome::kRead) << c.share;
    EXPECT_EQ(Rows(reading), c.rows) << c.share;
    ExpectEveryBufferBack(net_api, c.share);
  }
}

TEST(server_sessions_windows_test, a_refusal_gives_no_records_and_says_what_to_do) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  struct Case {
    const char* what;
    standin::NetApiBehaviour behaviour;
    ServerReadOutcome sessions;
    ServerReadOutcome files;
    const char* said;  // in both errors
  };
  const Case cases[] = {
      {"no administrator", {0, 0, kAllShares, ERROR_ACCESS_DENIED}, ServerReadOutcome::kAccessDenied,
       ServerReadOutcome::kAccessDenied, "от имени администратора"},
      {"server stopped", {0, 0, kAllShares, NERR_ServerNotStarted}, ServerReadOutcome::kNoService,
       ServerReadOutcome::kNoService, "LanmanServer"},
      {"not supported", {0, 0, kAllShares, ERROR_NOT_SUPPORTED}, ServerReadOutcome::kFailed, ServerReadOutcome::kFailed,
       "ошибка Windows 50"},
      {"share folders refused", {ERROR_ACCESS_DENIED, 0, kAllShares, NERR_Success}, ServerReadOutcome::kRead,
       ServerReadOutcome::kAccessDenied, "от имени администратора"},
  };
  for (const auto& c : cases) {
    net_api.Behave(c.behaviour);
    const auto sessions = platform::ReadSessions();
    const auto files = platform::ReadOpenFiles("");
    EXPECT_EQ(sessions.outcome, c.sessions) << c.what;
    EXPECT_EQ(files.outcome, c.files) << c.what;
    EXPECT_TRUE(files.records.empty()) << c.what;
    EXPECT_NE(Utf8(files.error).find(c.said), std::string::npos) << c.what << ": " << Utf8(files.error);
    if (!sessions.Read()) {
      EXPECT_NE(Utf8(sessions.error).find(c.said), std::string::npos) << c.what;
    }
    EXPECT_EQ(net_api.Counts().buffers_freed, net_api.Counts().buffers_given) << c.what;
  }
}

TEST(server_sessions_windows_test, a_reading_keeps_the_first_records_up_to_the_most_and_says_it_was_cut) {
  const standin::StandinNetApi net_api;
  ASSERT_TRUE(net_api.Loaded());
  const DWORD files = static_cast<DWORD>(standin::ListedFiles().size());
  const DWORD copies_to_fill = static_cast<DWORD>(platform::kMostServerRecords) / files;
  for (const DWORD copies : {copies_to_fill, copies_to_fill + 1}) {
    net_api.Behave({NERR_Success, NERR_Success, kAllShares, NERR_Success, 7000, copies});
    const auto reading = platform::ReadOpenFiles("");
    EXPECT_EQ(reading.outcome, ServerReadOutcome::kRead) << copies;
    EXPECT_EQ(reading.records.size(), platform::kMostServerRecords) << copies;
    EXPECT_EQ(reading.truncated, copies > copies_to_fill) << copies;
    ExpectEveryBufferBack(net_api, std::to_string(copies));
  }
}

}  // namespace
