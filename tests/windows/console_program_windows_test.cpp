// sharemon.exe run for real under Wine, as a user would run it, against the stand-in net.exe
// and NETAPI32.DLL: what --list-shares and --probe print (Cyrillic names through the wide
// command line and back out as UTF-8), a --poll run whose table file is the core's text,
// ended by Ctrl+C and Ctrl+Break, and the history chart's pictures of --render.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/connection_table.h"
#include "core/poll_options.h"
#include "core/table_file.h"
#include "core/table_file_text.h"
#include "platform/process_start.h"
#include "rtl/errors.h"
#include "net_log.h"
#include "png_reading.h"
#include "standins.h"
#include "table_written_before.h"
#include "tests/support/history_pictures.h"
#include "tests/support/windows1251_text.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh directory per test, with a Cyrillic name, removed afterwards.
class TestDirectory {
 public:
  TestDirectory() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            (L"опрос_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TestDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// An environment variable set for the children started while it lives.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

fs::path ProgramPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / L"sharemon.exe";
}

// sharemon.exe with its standard output and standard error going to files.
class RunningProgram {
 public:
  explicit RunningProgram(const std::vector<std::wstring>& arguments, DWORD creation_flags = 0) {
    std::wstring command_line = L"\"" + ProgramPath().wstring() + L"\"";
    for (const auto& argument : arguments) command_line += L" \"" + argument + L"\"";
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    out_ = CreateFileW(out_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    error_ = CreateFileW(error_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out_;
    startup.hStdError = error_;
    started_ = platform::StartProcess([&] {
      return CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, creation_flags, nullptr, nullptr,
                            &startup, &process_);
    });
    if (!started_) start_error_ = GetLastError();
  }
  ~RunningProgram() {
    if (started_) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
    CloseHandle(out_);
    CloseHandle(error_);
    DeleteFileW(out_path_.c_str());
    DeleteFileW(error_path_.c_str());
  }

  bool Started() const { return started_ != FALSE; }
  DWORD StartError() const { return start_error_; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  // The exit code, or STILL_ACTIVE when the program has not ended within `milliseconds`.
  DWORD Wait(DWORD milliseconds) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }
  std::string Out() const { return ReadBytes(out_path_); }
  std::string Error() const { return ReadBytes(error_path_); }

 private:
  TestDirectory directory_;
  fs::path out_path_ = directory_.Path() / L"out.txt";
  fs::path error_path_ = directory_.Path() / L"error.txt";
  HANDLE out_ = INVALID_HANDLE_VALUE;
  HANDLE error_ = INVALID_HANDLE_VALUE;
  PROCESS_INFORMATION process_{};
  BOOL started_ = FALSE;
  DWORD start_error_ = ERROR_SUCCESS;
};

struct Finished {
  DWORD exit_code;
  std::string out;
  std::string error;
};

// Windows text, whose lines end in CR LF, with LF line ends (as the Linux program prints).
std::string LinesOf(const std::string& windows_text) {
  std::string text;
  for (std::size_t i = 0; i < windows_text.size(); ++i) {
    if (windows_text.compare(i, 2, "\r\n") == 0) continue;
    EXPECT_FALSE(windows_text[i] == '\n' && (i == 0 || windows_text[i - 1] != '\r')) << "a bare LF at " << i;
    text += windows_text[i];
  }
  return text;
}

Finished RunToEnd(const std::vector<std::wstring>& arguments) {
  const RunningProgram program(arguments);
  EXPECT_TRUE(program.Started()) << "error " << program.StartError();
  const DWORD exit_code = program.Wait(30000);
  return {exit_code, LinesOf(program.Out()), LinesOf(program.Error())};
}

// What the share list prints: each name as the program holds it (Windows-1251), back in UTF-8.
std::string ListedLines(std::size_t count) {
  std::string lines;
  for (std::size_t i = 0; i < count; ++i) lines += rtl::Utf8FromWindows1251(W(standin::ListedShares()[i].name)) + "\n";
  return lines;
}

TEST(console_program_windows_test, list_shares_prints_each_name_as_utf8) {
  const std::size_t all = standin::ListedShares().size();
  struct Case {
    const wchar_t* behaviour;  // level 2 result, level 1 result, share count
    std::size_t names;
  };
  const Case cases[] = {
      {L"0,0,6", all},     // level 2
      {L"5,0,6", all},     // level 1 after access denied
      {L"234,0,6", 0},     // ERROR_MORE_DATA: a failure too
      {L"50,0,6", 0},      // not supported: empty
      {L"5,5,6", 0},       // denied at both levels
  };
  for (const auto& c : cases) {
    const ScopedVariable behaviour(standin::kNetApiVariable, c.behaviour);
    const Finished run = RunToEnd({L"--list-shares"});
    EXPECT_EQ(run.exit_code, 0u) << standin::Utf8(c.behaviour);
    EXPECT_EQ(run.out, ListedLines(c.names)) << standin::Utf8(c.behaviour);
    EXPECT_EQ(run.error, "") << standin::Utf8(c.behaviour);
  }
  // A name outside Windows-1251 is no longer what the list held.
  EXPECT_EQ(ListedLines(all).find("Ωmega"), std::string::npos);
}

TEST(console_program_windows_test, probe_takes_the_name_from_the_wide_command_line) {
  for (const auto& share : standin::NetShares()) {
    const standin::NetLog log;
    const Finished run = RunToEnd({L"--probe", standin::Wide(share.name)});
    std::string names;
    for (const auto& connection : share.connections) names += (names.empty() ? "" : " ") + connection.user + "@" + connection.machine;
    EXPECT_EQ(run.exit_code, 0u) << share.name;
    EXPECT_EQ(run.out, std::to_string(share.connections.size()) + "\t" + names + "\n") << share.name;
    EXPECT_EQ(run.error, "") << share.name;
    const auto processes = log.Processes();
    ASSERT_EQ(processes.size(), 1u) << share.name;
    EXPECT_EQ(processes[0].arguments, (std::vector<std::string>{"share", share.name})) << share.name;
  }
}

TEST(console_program_windows_test, probe_failures_and_wrong_arguments_have_their_exit_codes) {
  struct Case {
    std::vector<std::wstring> arguments;
    DWORD exit_code;
    std::string error_start;
  };
  const Case cases[] = {
      {{L"--probe"}, 2, "usage: sharemon --probe NAME\n"},
      {{L"--probe", L"a", L"b"}, 2, "usage: sharemon --probe NAME\n"},
      {{L"--unknown"}, 2, "usage: sharemon [TABLEFILE]\n"},
      {{L"--poll", L"--interval", L"0"}, 2, "sharemon --poll: --interval: "},
      {{L"--poll", L"--colour", L"red"}, 2, "sharemon --poll: unknown option --colour\n"},
      {{L"--poll", L"--watch"}, 2, "sharemon --poll: missing value after --watch\n"},
      {{L"--poll", L"--metrics", L"127.0.0.1:0"}, 2, "sharemon --poll: unknown option --metrics\n"},
      {{L"--poll", L"--watch", L"Z:\\нет\\такого.txt"}, 1, "sharemon --poll: "},
  };
  for (const auto& c : cases) {
    const Finished run = RunToEnd(c.arguments);
    const std::string what = c.arguments.empty() ? "" : standin::Utf8(c.arguments.back());
    EXPECT_EQ(run.exit_code, c.exit_code) << what;
    EXPECT_EQ(run.error.substr(0, c.error_start.size()), c.error_start) << what;
    EXPECT_EQ(run.out, "") << what;
  }
}

TEST(console_program_windows_test, poll_help_prints_the_option_table_without_the_metrics_options) {
  const Finished run = RunToEnd({L"--poll", L"--help"});
  EXPECT_EQ(run.exit_code, 0u);
  const std::string usage = "sharemon " + core::PollUsageLine(core::PollOptionSet::kWithoutMetrics) + "\n";
  EXPECT_NE(run.out.find(usage), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(core::PollOptionsHelp(core::PollOptionSet::kWithoutMetrics)), std::string::npos) << run.out;
  EXPECT_EQ(run.error, "");
}

// The faces this program has, without metrics, and where its files lie on Windows. (--version
// and both programs are checked through cmd.exe, tests/windows/program_checks.sh.)
TEST(console_program_windows_test, help_names_the_windows_faces_and_the_data_directory) {
  const Finished help = RunToEnd({L"--help"});
  EXPECT_EQ(help.exit_code, 0u);
  const std::string usage =
      "Usage: sharemon [TABLEFILE]\n  or:  sharemon " + core::PollUsageLine(core::PollOptionSet::kWithoutMetrics) + "\n";
  EXPECT_EQ(help.out.substr(0, usage.size()), usage) << help.out;
  EXPECT_NE(help.out.find("%APPDATA%\\sharemon"), std::string::npos) << help.out;
  EXPECT_EQ(help.error, "");
  EXPECT_EQ(RunToEnd({L"-h"}).out, help.out);
}

// The watch list, a poll run every 200 ms, and the run's one table file.
class PollRun {
 public:
  explicit PollRun(DWORD creation_flags)
      : interval_(L"SHAREMON_TEST_INTERVAL_MS", L"200"),
        watch_(WatchList(directory_.Path())),
        program_({L"--poll", L"--watch", watch_.wstring(), L"--out", directory_.Path().wstring(), L"--interval", L"1"},
                 creation_flags) {}

  const RunningProgram& Program() const { return program_; }

  // The run's table file once it holds `rows` rows, waiting up to 20 s; empty if none came.
  fs::path FileWithRows(int rows) const {
    for (const ULONGLONG deadline = GetTickCount64() + 20000; GetTickCount64() < deadline; Sleep(100)) {
      const fs::path file = TableFile();
      if (file.empty()) continue;
      core::ConnectionTable table;
      try {
        core::LoadConnectionTable(table, file);
      } catch (const rtl::Exception&) {
        continue;  // being replaced just now
      }
      if (table.RowCount() >= rows) return file;
    }
    return {};
  }

  // The temporary a table file is written through ("list_….txt.XXXXXXXX.tmp") is none: held
  // open here while the program renames it, it made that rename fail with a sharing violation.
  fs::path TableFile() const {
    for (const auto& entry : fs::directory_iterator(directory_.Path())) {
      const fs::path name = entry.path().filename();
      if (name.wstring().starts_with(L"list_") && name.extension() == L".txt") return entry.path();
    }
    return {};
  }

 private:
  static fs::path WatchList(const fs::path& directory) {
    const fs::path file = directory / L"splist.txt";
    std::ofstream(file, std::ios::binary) << "team\r\n" << W("Отчеты за год") << "\r\n";
    return file;
  }

  TestDirectory directory_;
  ScopedVariable interval_;
  fs::path watch_;
  RunningProgram program_;
};

// The file holds the watched shares' counts in every row, in the core's own text: the table
// read back and written again by the core gives the same bytes. (Reading joins a row's date
// and time with one space, so the captions are taken from the file's lines as they stand.)
void ExpectCountsInCoreText(const fs::path& file, int at_least_rows) {
  core::ConnectionTable loaded;
  core::LoadConnectionTable(loaded, file);
  ASSERT_EQ(loaded.ColumnCount(), 3);
  EXPECT_EQ(loaded.Column(1), "team");
  EXPECT_EQ(loaded.Column(2), W("Отчеты за год"));
  EXPECT_GE(loaded.RowCount(), at_least_rows);
  const std::string bytes = ReadBytes(file);
  std::vector<core::ConnectionTable::Row> rows;
  for (std::size_t line = bytes.find("\r\n") + 2; line < bytes.size(); line = bytes.find("\r\n", line) + 2) {
    const auto row = static_cast<int>(rows.size());
    ASSERT_LT(row, loaded.RowCount());
    EXPECT_EQ(loaded.RowAt(row).values, (std::vector<rtl::Text>{"2", "2"})) << row;
    rows.push_back({bytes.substr(line, bytes.find(',', line) - line), loaded.RowAt(row).values});
  }
  EXPECT_EQ(static_cast<int>(rows.size()), loaded.RowCount());
  core::ConnectionTable rewritten;
  rewritten.AddColumns(loaded.Columns());
  rewritten.AppendRows(std::move(rows));
  EXPECT_EQ(bytes, core::TableFileText(rewritten));
}

TEST(console_program_windows_test, poll_writes_its_table_after_every_tick) {
  const PollRun run(0);
  ASSERT_TRUE(run.Program().Started()) << "error " << run.Program().StartError();
  const fs::path file = run.FileWithRows(3);
  ASSERT_FALSE(file.empty()) << run.Program().Error();
  EXPECT_EQ(run.Program().Wait(0), static_cast<DWORD>(STILL_ACTIVE));
  ExpectCountsInCoreText(file, 3);
}

// Sends Ctrl+Break to the program's own process group, as a console does. Wine 8 without a
// display has no console that takes such events (GenerateConsoleCtrlEvent fails there, also
// after AllocConsole): the test says so and is skipped there.
TEST(console_program_windows_test, poll_ends_on_ctrl_break_and_writes_its_file) {
  if (GetConsoleWindow() == nullptr) AllocConsole();
  const PollRun run(CREATE_NEW_PROCESS_GROUP);
  ASSERT_TRUE(run.Program().Started()) << "error " << run.Program().StartError();
  const fs::path file = run.FileWithRows(2);
  ASSERT_FALSE(file.empty()) << run.Program().Error();
  if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, run.Program().ProcessId())) {
    GTEST_SKIP() << "no console events here (error " << GetLastError() << ")";
  }
  EXPECT_EQ(run.Program().Wait(10000), 0u) << run.Program().Error();
  EXPECT_NE(run.Program().Error().find("run stopped"), std::string::npos) << run.Program().Error();
  ExpectCountsInCoreText(file, 2);
}

// The same rows give the same file bytes as the Linux build's, which its tests check against
// the same file; written to disk here, so no text mode or path conversion gets in between.
TEST(console_program_windows_test, the_table_file_is_byte_for_byte_the_linux_builds) {
  const TestDirectory directory;
  const fs::path file = directory.Path() / L"таблица.txt";
  core::SaveConnectionTable(TableWrittenBefore(), file);
  const std::string golden = ReadBytes(fs::path(SHAREMON_GOLDEN_DIR) / "table_written_before.txt");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(ReadBytes(file), golden);
}

// --- the history chart's picture (--render) ------------------------------------------------

namespace pictures = history_pictures;

struct RenderRun {
  Finished run;
  std::string png;  // the file written, or none
  TBitmap picture;  // its pixels
};

// --render of `table` (the file's bytes) for `share`, with further arguments.
RenderRun Render(const std::string& table, const std::wstring& share, std::vector<std::wstring> more = {}) {
  const TestDirectory directory;
  const fs::path table_file = directory.Path() / L"таблица.txt", out = directory.Path() / L"график.png";
  std::ofstream(table_file, std::ios::binary) << table;
  std::vector<std::wstring> arguments = {L"--render", table_file.wstring(), L"--share", share, L"--out", out.wstring()};
  arguments.insert(arguments.end(), more.begin(), more.end());
  RenderRun result{RunToEnd(arguments), {}, {}};
  if (fs::exists(out)) result.png = ReadBytes(out);
  result.picture = ReadPng(result.png);
  return result;
}

// The line and the frame of the Linux build's picture of the same table and size (its
// golden files), and the whole picture of this build: tests/windows/golden/NAME.png, which
// SHAREMON_UPDATE_GOLDEN=1 rewrites (after a deliberate change).
TEST(console_program_windows_test, render_draws_the_linux_builds_line_and_the_windows_golden_picture) {
  struct Case {
    const char* name;
    std::string table;
    std::wstring share;
    std::vector<std::wstring> more;
  };
  const Case cases[] = {
      {"render_two_days", pictures::kTwoDays, L"docs", {}},
      {"render_three_days", pictures::ThreeDays(), L"docs", {}},
      {"render_single_zero", pictures::kSingleZero, L"docs", {}},
      {"render_400x300", pictures::kTwoDays, L"docs", {L"--size", L"400x300"}},
      {"render_cyrillic_share", pictures::kCyrillicShare, standin::Wide(pictures::kCyrillicShareName), {}},
  };
  for (const Case& c : cases) {
    const RenderRun render = Render(c.table, c.share, c.more);
    ASSERT_EQ(render.run.exit_code, 0u) << c.name << ": " << render.run.error;
    EXPECT_EQ(render.run.error, "") << c.name;
    ASSERT_FALSE(render.picture.IsEmpty()) << c.name;
    const fs::path source(SHAREMON_SOURCE_ROOT);
    EXPECT_EQ(pictures::Geometry(render.picture), ReadBytes(source / "tests/app/golden" / (std::string(c.name) + ".txt")))
        << c.name;
    const fs::path golden = source / "tests/windows/golden" / (std::string(c.name) + ".png");
    if (GetEnvironmentVariableW(L"SHAREMON_UPDATE_GOLDEN", nullptr, 0) != 0) {
      std::ofstream(golden, std::ios::binary) << render.png;
      continue;
    }
    EXPECT_TRUE(ReadPng(ReadBytes(golden)) == render.picture) << c.name << ": SHAREMON_UPDATE_GOLDEN=1 accepts a new picture";
  }
}

// The Linux build's texts and exit codes, and no picture after an error.
TEST(console_program_windows_test, render_errors_have_the_linux_texts_and_exit_codes) {
  const std::string table_name = "таблица.txt";
  struct Case {
    std::string table;
    std::wstring share;
    DWORD exit_code;
    std::string error_end;  // what the error output ends with
  };
  const Case cases[] = {
      {pictures::kTwoDays, L"print$", 1,
       "\\" + table_name + "\" нет столбца \"print$\". Столбцы файла: \"Время\", \"docs\"\n"},
      {pictures::kTwoDays + "09.12.2026 11:00:00,many\r\n", L"docs", 1, "'many' is not a valid integer value.\n"},
      {pictures::kTimeColumn + ",docs\r\n08.12.2026 10:00:00,many\r\n", L"docs", 1,
       "many\n'many' is not a valid integer value.\n"},
  };
  for (const Case& c : cases) {
    const RenderRun render = Render(c.table, c.share);
    EXPECT_EQ(render.run.exit_code, c.exit_code) << c.error_end;
    EXPECT_TRUE(render.run.error.ends_with(c.error_end)) << render.run.error;
    EXPECT_TRUE(render.picture.IsEmpty()) << c.error_end;
  }
  const TestDirectory directory;
  const Finished missing = RunToEnd(
      {L"--render", (directory.Path() / L"нет.txt").wstring(), L"--share", L"docs", L"--out", L"x.png"});
  EXPECT_EQ(missing.exit_code, 1u);
  EXPECT_EQ(missing.error, "File not found.\n");
  const Finished usage = RunToEnd({L"--render", L"list.txt", L"--share"});
  EXPECT_EQ(usage.exit_code, 2u);
  EXPECT_TRUE(usage.error.starts_with("usage: sharemon --render")) << usage.error;
}

}  // namespace
