// The share query command on Windows, run for real under Wine against the stand-in net.exe
// in the system directory: reports arrive whole, names arrive as they are, and a command
// that hangs, floods or is cancelled ends with everything it started.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/share_probe.h"
#include "net_log.h"
#include "platform/console_command.h"
#include "platform/netshare/share_report.h"
#include "platform/share_query_command.h"
#include "rtl/console_text.h"
#include "standins.h"
#include "tests/support/windows1251_text.h"

namespace {

using namespace std::chrono_literals;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

platform::ConsoleResult Query(const std::string& name) {
  return platform::RunConsoleCommand(platform::ShareQueryCommand(W(name)), platform::ShareQueryDirectory(), 30s);
}

platform::RunResult RunShareQuery(const std::string& name, const platform::RunLimits& limits) {
  return platform::RunCommand(platform::ShareQueryCommand(W(name)), platform::ShareQueryDirectory(), limits);
}

// Every process the stand-in logged has ended by the deadline.
void ExpectAllGone(const standin::NetLog& log, ULONGLONG deadline, const std::string& what) {
  for (const auto& process : log.Processes()) {
    EXPECT_TRUE(standin::GoneBy(process.process_id, deadline)) << what << ": process " << process.process_id;
  }
}

TEST(windows_environment_test, runs_with_russian_code_pages_inside_a_job) {
  EXPECT_EQ(GetACP(), 1251u);
  EXPECT_EQ(GetOEMCP(), 866u);
  // The runner's own jobs then nest in the job the tests run in.
  BOOL in_job = FALSE;
  ASSERT_TRUE(IsProcessInJob(GetCurrentProcess(), nullptr, &in_job));
  EXPECT_TRUE(in_job);
}

TEST(share_query_windows_test, reports_arrive_whole_in_code_page_866) {
  for (const auto& share : standin::NetShares()) {
    standin::NetLog log;
    const auto result = Query(share.name);
    const std::string report = netshare::ShareReport(share.name, share.path, "", share.connections);
    EXPECT_EQ(result.output, report) << share.name;
    EXPECT_EQ(result.exit_code, 0u) << share.name;
    // Converted, the text holds the names in the window code page.
    for (const auto& connection : share.connections) {
      EXPECT_NE(rtl::ConvertConsoleText(result.output).find(W(connection.user + "@" + connection.machine + " ")),
                std::string::npos)
          << share.name;
    }
    const auto processes = log.Processes();
    ASSERT_EQ(processes.size(), 1u) << share.name;
    EXPECT_EQ(processes[0].arguments, (std::vector<std::string>{"share", share.name}));
  }
}

TEST(share_query_windows_test, the_probe_counts_the_users_of_every_report) {
  core::ConsoleShareProber prober(30s);
  const platform::CancelSignal cancel;
  for (const auto& share : standin::NetShares()) {
    std::vector<rtl::Text> users;
    for (const auto& connection : share.connections) users.push_back(W(connection.user + "@" + connection.machine));
    const auto result = prober.Probe(W(share.name), cancel);
    EXPECT_EQ(result.outcome, core::ProbeOutcome::kCounted) << share.name;
    EXPECT_EQ(result.users, users) << share.name;
    EXPECT_EQ(result.count, static_cast<std::int32_t>(users.size())) << share.name;
  }
  const auto unknown = prober.Probe("nosuchshare", cancel);
  EXPECT_EQ(unknown.outcome, core::ProbeOutcome::kNoUsersSection);
  EXPECT_EQ(unknown.count, 0);
}

TEST(share_query_windows_test, long_reports_come_in_uneven_pieces) {
  const auto& archive = standin::NetShares().back();
  const std::string report = netshare::ShareReport(archive.name, archive.path, "", archive.connections);
  // More than one read and more than one piece of every size the stand-in writes.
  std::size_t pieces_total = 0;
  for (const std::size_t size : standin::PieceSizes()) pieces_total += size;
  EXPECT_GT(report.size(), pieces_total);
  EXPECT_EQ(Query(archive.name).output, report);
}

TEST(share_query_windows_test, an_unknown_share_gets_the_systems_answer) {
  const auto result = Query("nosuchshare");
  EXPECT_EQ(result.output, netshare::NoSuchShareReport());
  EXPECT_EQ(result.exit_code, 2u);
}

TEST(share_query_windows_test, every_character_of_the_name_reaches_net_as_it_is) {
  struct Case {
    std::string name;      // as the program holds it
    std::string argument;  // as net receives it
  };
  const Case cases[] = {
      {"%OS%", "%OS%"},
      {"%PATH%x%", "%PATH%x%"},
      {"a^b^^c", "a^b^^c"},
      {"a|b", "a|b"},
      {"a<b>c", "a<b>c"},
      {"x & net share injected", "x & net share injected"},
      {"Отчеты %USERNAME% & ^", "Отчеты %USERNAME% & ^"},
      {" spaces around ", " spaces around "},
      {"", ""},
      // A share name cannot hold a double quote: it is dropped.
      {"te\"am", "team"},
      {"\"x\" & net share injected & \"", "x & net share injected & "},
      // Backslashes before the closing quote must not escape it.
      {"back\\", "back\\"},
      {"two\\\\", "two\\\\"},
      {"a\\\"b", "a\\b"},
      {"a\\b", "a\\b"},
  };
  for (const auto& c : cases) {
    standin::NetLog log;
    Query(c.name);
    const auto processes = log.Processes();
    // One process: no second command ran.
    ASSERT_EQ(processes.size(), 1u) << c.name;
    EXPECT_EQ(processes[0].arguments, (std::vector<std::string>{"share", c.argument})) << c.name;
  }
}

TEST(share_query_windows_test, net_comes_from_the_system_directory) {
  // A net.exe in the working directory ("c:\") or in the program's current directory must
  // not shadow the system's.
  const std::wstring strays[] = {L"C:\\net.exe", L"net.exe"};
  wchar_t system_net[MAX_PATH];
  GetSystemDirectoryW(system_net, MAX_PATH);
  wcscat(system_net, L"\\net.exe");
  for (const auto& stray : strays) ASSERT_TRUE(CopyFileW(system_net, stray.c_str(), FALSE));
  standin::NetLog log;
  Query("public");
  for (const auto& stray : strays) DeleteFileW(stray.c_str());
  const auto processes = log.Processes();
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(Lower(processes[0].program), Lower(standin::SystemNetPath()));
  EXPECT_EQ(platform::ShareQueryCommand("public").command_line, "net share \"public\"");
}

TEST(share_query_windows_test, a_hung_net_ends_at_the_time_limit_with_its_whole_tree) {
  // Each leaves a child of its own behind in another way; at the limit all of it must go.
  for (const std::string name : {standin::kHangName, standin::kOrphanName, standin::kQuietName}) {
    standin::NetLog log;
    const auto command = platform::ShareQueryCommand(W(name));
    const ULONGLONG start = GetTickCount64();
    try {
      platform::RunConsoleCommand(command, platform::ShareQueryDirectory(), 3s);
      ADD_FAILURE() << name << ": no error";
    } catch (const platform::ConsoleCommandError& error) {
      EXPECT_EQ(std::string(error.what()), W("Ошибка выполнения или компиляции: ") + "\n\r" + command.command_line);
    }
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_GE(elapsed, 2990u) << name;
    EXPECT_LT(elapsed, 5000u) << name;
    // The stand-in and its sleeping child.
    EXPECT_EQ(log.Processes().size(), 2u) << name;
    ExpectAllGone(log, start + 5000, name);
  }
}

struct Canceller {
  const standin::NetLog* log;
  platform::CancelSignal* cancel;
};

// Gives the cancel signal once the stand-in and its child are up.
DWORD WINAPI CancelOnceUp(void* parameter) {
  const auto* canceller = static_cast<const Canceller*>(parameter);
  canceller->log->WaitFor(2, 10000);
  Sleep(200);  // for the runner to read what was printed
  canceller->cancel->Cancel();
  return 0;
}

TEST(share_query_windows_test, a_cancel_from_another_thread_ends_the_run_and_its_tree) {
  standin::NetLog log;
  platform::CancelSignal cancel;
  Canceller canceller{&log, &cancel};
  const ULONGLONG start = GetTickCount64();
  HANDLE thread = CreateThread(nullptr, 0, CancelOnceUp, &canceller, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  const auto run = RunShareQuery(standin::kHangName, {60s, platform::kConsoleOutputLimit, &cancel});
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_EQ(run.outcome, platform::RunOutcome::kCancelled);
  // What came before the cancel is kept.
  EXPECT_EQ(run.output, rtl::ConsoleTextFromWindows1251(W(standin::kHungOutput)));
  EXPECT_LT(GetTickCount64() - start, 10000u);
  EXPECT_EQ(log.Processes().size(), 2u);
  ExpectAllGone(log, GetTickCount64() + 2000, "cancelled");
}

TEST(share_query_windows_test, a_cancel_given_before_the_start_ends_the_run_without_waiting) {
  standin::NetLog log;
  platform::CancelSignal cancel;
  cancel.Cancel();
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(RunShareQuery(standin::kHangName, {60s, platform::kConsoleOutputLimit, &cancel}).outcome,
            platform::RunOutcome::kCancelled);
  EXPECT_THROW(platform::RunConsoleCommand(platform::ShareQueryCommand(standin::kHangName),
                                           platform::ShareQueryDirectory(), 60s, &cancel),
               platform::ConsoleCommandCancelled);
  EXPECT_LT(GetTickCount64() - start, 5000u);
  ExpectAllGone(log, GetTickCount64() + 2000, "cancelled before the start");
}

TEST(share_query_windows_test, output_past_the_limit_ends_the_run) {
  standin::NetLog log;
  const auto run = RunShareQuery(standin::kFloodName, {60s, 100000, nullptr});
  EXPECT_EQ(run.outcome, platform::RunOutcome::kOutputTooLarge);
  EXPECT_GT(run.output.size(), 100000u);
  EXPECT_LE(run.output.size(), 100000u + 255u);
  EXPECT_EQ(run.output.find_first_not_of('x'), std::string::npos);
  ASSERT_EQ(log.Processes().size(), 1u);
  ExpectAllGone(log, GetTickCount64() + 2000, "flood");
}

TEST(share_query_windows_test, a_program_that_cannot_start_raises_the_start_error) {
  platform::ConsoleCommand command("net share \"public\"", {});
  command.program_path = "C:\\no\\such\\directory\\net.exe";
  EXPECT_EQ(platform::RunCommand(command, "c:\\", {}).outcome, platform::RunOutcome::kNotStarted);
  try {
    platform::RunConsoleCommand(command, "c:\\");
    FAIL() << "no error";
  } catch (const platform::ConsoleCommandError& error) {
    EXPECT_EQ(std::string(error.what()), W("Ошибка выполнения или компиляции: ") + "\n\rnet share \"public\"");
  }
}

// "net share pub=C:\" would create a share of drive C: for an administrator; no such name
// starts net at all.
TEST(share_query_windows_test, a_name_that_names_no_share_starts_no_net) {
  for (const char* name : {"pub=C:\\", "/delete", "docs\r\n"}) {
    standin::NetLog log;
    const platform::CancelSignal never;
    const core::ProbeResult result = core::ConsoleShareProber().Probe(name, never);
    EXPECT_EQ(result.outcome, core::ProbeOutcome::kNotStarted) << name;
    EXPECT_TRUE(log.Processes().empty()) << name;
  }
}

}  // namespace
