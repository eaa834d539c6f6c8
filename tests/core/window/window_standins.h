// The window logic's tests without a toolkit: a view that records what it is asked to show, an
// event loop the test turns by hand (the poster's queue and the timer's wait), and a prober and a
// server reader with prepared answers that can hold a probe or a reading until released.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "core/window/window_logic.h"
#include "rtl/date_time.h"
#include "rtl/regional_settings.h"
#include "tests/support/hand_turned_poster.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/windows1251_text.h"

namespace window_test {

class StandInList : public core::EntryList {
 public:
  rtl::StringList entries;
  int selected = -1;

  rtl::StringList Entries() const override { return entries; }
  void SetEntries(const rtl::StringList& new_entries) override {
    entries = new_entries;
    selected = -1;
  }
  void AddEntry(const rtl::Text& entry) override { entries.Add(entry); }
  void DeleteEntry(int index) override {
    entries.Delete(index);
    selected = -1;
  }
  int ItemIndex() const override { return selected; }
};

// A report list that keeps the rows it was given and reads their texts as a shell draws them.
class StandInReportList : public core::ReportList {
 public:
  const core::ReportRows* rows = nullptr;
  int shown = 0;  // ShowRows calls
  int sort_column = -1;
  bool descending = false;
  int clicked = -1;  // the header the user clicked

  void ShowRows(const core::ReportRows& new_rows) override {
    rows = &new_rows;
    ++shown;
  }
  void ShowSortColumn(int column, bool now_descending) override {
    sort_column = column;
    descending = now_descending;
  }
  int ClickedColumn() const override { return clicked; }
  // One column's cells, top to bottom, UTF-8.
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> cells;
    for (int row = 0; rows && row < rows->RowCount(); ++row) {
      cells.push_back(rtl::Utf8FromWindows1251(rows->Cell(row, column)));
    }
    return cells;
  }
};

class StandInChoiceBox : public core::ChoiceBox {
 public:
  rtl::StringList choices;
  int chosen = -1;

  void SetChoices(const rtl::StringList& new_choices, int new_chosen) override {
    choices = new_choices;
    chosen = new_chosen;
  }
  int ChosenIndex() const override { return chosen; }
};

class StandInServerPage : public core::ServerPageView {
 public:
  StandInReportList sessions, open_files;
  StandInChoiceBox share_box;
  std::vector<std::string> statuses;  // every status shown, UTF-8

  core::ReportList& SessionsList() override { return sessions; }
  core::ReportList& OpenFilesList() override { return open_files; }
  core::ChoiceBox& OpenFilesShareBox() override { return share_box; }
  void ShowServerStatus(const rtl::Text& status) override { statuses.push_back(rtl::Utf8FromWindows1251(status)); }
};

class StandInView : public core::WindowView {
 public:
  StandInList watch_list, share_list, users_list;
  StandInServerPage server_page;
  core::WindowPage current_page = core::WindowPage::kTable;  // the tab chosen
  rtl::Text interval = "30";
  bool running = false;
  std::optional<core::WindowPage> page;
  std::optional<std::filesystem::path> file_to_open;  // what the user chooses
  std::vector<std::string> boxes;                     // "error: ..." or "notice: ...", UTF-8
  std::vector<rtl::Text> histories;                   // the shares whose history was shown
  bool closed = false;                                // the window was asked to close
  std::function<void()> while_box_open;               // the box's own loop, run once

  core::EntryList& WatchList() override { return watch_list; }
  core::EntryList& ShareList() override { return share_list; }
  core::EntryList& UsersList() override { return users_list; }
  rtl::Text IntervalText() const override { return interval; }
  void ShowRunning(bool now_running) override { running = now_running; }
  void ShowPage(core::WindowPage shown) override { page = current_page = shown; }
  core::WindowPage CurrentPage() const override { return current_page; }
  core::ServerPageView& ServerPage() override { return server_page; }
  std::optional<std::filesystem::path> ChooseFileToOpen() override { return file_to_open; }
  void ShowError(const rtl::Text& message) override { Box("error: " + rtl::Utf8FromWindows1251(message)); }
  void ShowNotice(const rtl::Text& message) override { Box("notice: " + rtl::Utf8FromWindows1251(message)); }
  void ShowShareHistory(const core::ConnectionTable&, const rtl::Text& share) override { histories.push_back(share); }
  void CloseWindow() override { closed = true; }

 private:
  void Box(const std::string& box) {
    boxes.push_back(box);
    if (const std::function<void()> loop = std::exchange(while_box_open, {})) loop();
  }
};

// A file that exists but cannot be read until Release(): on Windows held open by a handle
// that shares nothing (as another program locks it), on Linux a FIFO, which a read refuses.
class UnreadableFile {
 public:
  explicit UnreadableFile(const std::string& path) : path_(path) {
#ifdef _WIN32
    TemporaryDirectory::WriteBytes(path, "docs\r\n");
    lock_ = CreateFileW(std::filesystem::path(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  ~UnreadableFile() { Release(); }
  void Release() { CloseHandle(std::exchange(lock_, INVALID_HANDLE_VALUE)); }
  bool Intact() const { return TemporaryDirectory::ReadBytes(path_) == "docs\r\n"; }

 private:
  HANDLE lock_;
#else
    mkfifo(path.c_str(), 0644);
  }
  void Release() {}
  bool Intact() const { return std::filesystem::is_fifo(path_); }

 private:
#endif
  std::string path_;
};

using StandInPoster = HandTurnedPoster;

class StandInWaits : public core::WaitTimer {
 public:
  std::vector<std::uint32_t> started;    // every wait started, in order
  std::optional<std::uint32_t> running;  // the wait that runs now

  void StartWait(std::uint32_t ms) override {
    started.push_back(ms);
    running = ms;
  }
  void StopWait() override { running.reset(); }
};

// Answers each share with its prepared result (a report without users when none was
// prepared); a share in `held` is answered only once Release() came, or as cancelled when the
// probe is cancelled first and `heed_cancel` holds.
class StandInProber : public core::ShareProber {
 public:
  std::map<rtl::Text, core::ProbeResult> results;
  std::set<rtl::Text> held;
  bool heed_cancel = true;

  core::ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal& cancel) override {
    ++entered_;
    if (held.count(share) != 0) {
      while (!released_) {
        if (!cancel.WaitFor(std::chrono::milliseconds(5))) continue;
        if (heed_cancel) return Outcome(core::ProbeOutcome::kCancelled);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    }
    const auto found = results.find(share);
    return found != results.end() ? found->second : core::ProbeResult{};
  }
  int Entered() const { return entered_; }
  void Release() { released_ = true; }

  static core::ProbeResult Users(std::vector<rtl::Text> users) {
    core::ProbeResult result;
    result.count = static_cast<std::int32_t>(users.size());
    result.users = std::move(users);
    return result;
  }
  static core::ProbeResult Outcome(core::ProbeOutcome outcome, const std::string& error = "") {
    core::ProbeResult result;
    result.outcome = outcome;
    result.error = W(error);
    return result;
  }

 private:
  std::atomic<int> entered_{0};
  std::atomic<bool> released_{false};
};

// Answers the page's readings with `sessions` and `files`, which a test sets while no reading
// runs; while held, every call waits until Release().
class StandInReader : public core::ServerReader {
 public:
  platform::SessionReading sessions{platform::ServerReadOutcome::kRead, {}, false, ""};
  platform::OpenFileReading files{platform::ServerReadOutcome::kRead, {}, false, ""};
  std::atomic<int> entered{0}, sessions_read{0}, ended{0};  // calls begun; sessions read; readings ended
  std::vector<rtl::Text> shares_asked;  // read once the readings have come back

  void Hold() {
    gate_.lock();
    held_ = true;
  }
  void Release() {
    if (std::exchange(held_, false)) gate_.unlock();
  }
  platform::SessionReading ReadSessions() override {
    Pass();
    ++sessions_read;
    return sessions;
  }
  platform::OpenFileReading ReadOpenFiles(const rtl::Text& share) override {
    Pass();
    shares_asked.push_back(share);
    ++ended;
    return files;
  }

 private:
  void Pass() {
    ++entered;
    std::lock_guard pass(gate_);
  }
  std::mutex gate_;  // locked by the test's thread while held
  bool held_ = false;
};

const rtl::DateTime kMorning = rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(9, 5, 7, 0);

// A window logic, not shown yet, at kMorning, with Russian regional settings.
class WindowTest : public testing::Test {
 protected:
  WindowTest() {
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
    SetClock(kMorning);
    logic_.SetProber(&prober_);
    logic_.SetServerReader(&reader_);
  }
  ~WindowTest() override {
    prober_.Release();  // so that a failed test does not leave the worker waiting
    reader_.Release();
    rtl::SetClockForTesting({});
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
  }

  static void SetClock(rtl::DateTime value) {
    rtl::SetClockForTesting([value] { return value; });
  }
  // Shows the window with its program directory at `name` in the test's directory, made now.
  void ShowIn(const std::string& name = "program") {
    std::filesystem::create_directories(File(name));
    logic_.Show(File(name));
  }
  std::string File(const std::string& name) const { return directory_.File(name); }
  std::string ReadFile(const std::string& name) const { return TemporaryDirectory::ReadBytes(File(name)); }

  // The timer's wait passes, as the shell reports it.
  void WaitPasses() {
    ASSERT_TRUE(waits_.running) << "no wait runs";
    waits_.running.reset();
    logic_.TimerWaitEnded();
  }
  // One tick: the wait passes, the probes run and every result and box comes back.
  void Tick() {
    WaitPasses();
    ASSERT_TRUE(poster_.RunUntil([&] { return !logic_.Run().Probing(); }));
    poster_.RunPending();
  }
  const core::ConnectionTable& Table() const { return logic_.Table(); }

  TemporaryDirectory directory_;
  StandInView view_;
  StandInPoster poster_;
  StandInWaits waits_;
  StandInProber prober_;
  StandInReader reader_;
  core::WindowLogic logic_{view_, poster_, waits_};
};

}  // namespace window_test
