// splist.txt beside the executable: loaded when the window is shown, saved when it closes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QString>
#include <QTimer>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/termination.h"
#include "qt_application.h"
#include "tests/support/special_files.h"
#include "tests/support/temporary_directory.h"

namespace {

class WatchListFile : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  void SetUp() override {
    form_.SetExecutableFileName(QString::fromStdString(directory_.File("sharemon")));
  }

  std::string WatchListPath() const { return directory_.File("splist.txt"); }

  TemporaryDirectory directory_;
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

struct LoadCase {
  const char* name;
  std::string bytes;
  rtl::StringList entries;
};

class WatchListLoad : public WatchListFile, public testing::WithParamInterface<LoadCase> {};

void PrintTo(const LoadCase& load_case, std::ostream* out) { *out << load_case.name; }

TEST_P(WatchListLoad, show_loads_the_file_into_list_box2) {
  form_.ListBox2()->SetEntries({"replaced"});
  TemporaryDirectory::WriteBytes(WatchListPath(), GetParam().bytes);
  form_.show();
  EXPECT_EQ(form_.ListBox2()->Entries(), GetParam().entries);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    line_ends, WatchListLoad,
    testing::Values(LoadCase{"crlf", "docs\r\n\xEE\xE1\xF9\xE0\xFF\r\n", {"docs", "\xEE\xE1\xF9\xE0\xFF"}},
                    LoadCase{"lf", "docs\n\xEE\xE1\xF9\xE0\xFF\n", {"docs", "\xEE\xE1\xF9\xE0\xFF"}},
                    LoadCase{"no_final_end", "docs\r\n\xEE\xE1\xF9\xE0\xFF", {"docs", "\xEE\xE1\xF9\xE0\xFF"}},
                    LoadCase{"empty", "", {}},
                    LoadCase{"nul", "a\r\nb\0c\r\n"s, {"a", "b"}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST_F(WatchListFile, no_file_leaves_the_list_empty_and_reports_nothing) {
  form_.show();
  EXPECT_TRUE(form_.ListBox2()->Entries().Empty());
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(form_.ProgramDirectory, directory_.Path().string());
  EXPECT_EQ(form_.ProgramFile("splist.txt"), WatchListPath());
}

TEST_F(WatchListFile, close_writes_the_list_with_crlf) {
  form_.show();
  form_.ListBox2()->SetEntries({"docs", "docs", "", "\xEE\xE1\xF9\xE0\xFF"});
  form_.close();
  EXPECT_EQ(TemporaryDirectory::ReadBytes(WatchListPath()), "docs\r\ndocs\r\n\r\n\xEE\xE1\xF9\xE0\xFF\r\n");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(WatchListFile, close_with_an_empty_list_writes_an_empty_file) {
  TemporaryDirectory::WriteBytes(WatchListPath(), "old\r\n");
  form_.show();
  form_.ListBox2()->ClearEntries();
  form_.close();
  EXPECT_TRUE(std::filesystem::exists(WatchListPath()));
  EXPECT_EQ(TemporaryDirectory::ReadBytes(WatchListPath()), "");
}

TEST_F(WatchListFile, a_failed_save_shows_the_notice_and_the_window_still_closes) {
  form_.show();
  std::filesystem::create_directory(WatchListPath());  // cannot be replaced by a file
  form_.ListBox2()->SetEntries({"docs"});
  form_.close();
  EXPECT_FALSE(form_.isVisible());
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kNotice);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("Ошибка сохранения списка"));
}

TEST_F(WatchListFile, closing_twice_saves_once) {
  form_.show();
  form_.close();
  TemporaryDirectory::WriteBytes(WatchListPath(), "changed\r\n");
  form_.close();
  EXPECT_EQ(TemporaryDirectory::ReadBytes(WatchListPath()), "changed\r\n");
}

TEST_F(WatchListFile, a_window_never_shown_does_not_overwrite_the_file) {
  TemporaryDirectory::WriteBytes(WatchListPath(), "docs\r\n");
  form_.close();
  EXPECT_EQ(TemporaryDirectory::ReadBytes(WatchListPath()), "docs\r\n");
}

// Opens and closes the writing end of a FIFO after a while, so that a load that wrongly
// waits for a writer gets an empty file instead of hanging the test.
class FifoRelease {
 public:
  explicit FifoRelease(std::string path) : path_(std::move(path)), thread_([this] { Run(); }) {}
  ~FifoRelease() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, std::chrono::seconds(5), [this] { return done_; })) return;
    const int handle = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle >= 0) close(handle);
  }

  std::string path_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

// What is no regular file under the watch list's name; the device is a private copy of /dev/null.
struct SpecialFileCase {
  const char* name;
  bool (*make)(const std::string& path);
};

void PrintTo(const SpecialFileCase& special, std::ostream* out) { *out << special.name; }

const SpecialFileCase kSpecialFiles[] = {
    {"socket", special_files::MakeSocket},
    {"fifo", special_files::MakeFifo},
    {"device", [](const std::string& path) { return special_files::MakeCharacterDevice(path, 1, 3); }},
};

class WatchListSpecialFile : public WatchListFile, public testing::WithParamInterface<SpecialFileCase> {};

TEST_P(WatchListSpecialFile, show_refuses_it_with_cannot_open_and_skips_the_rest_of_show) {
  if (!GetParam().make(WatchListPath())) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  form_.ListBox2()->SetEntries({"kept"});
  {
    const FifoRelease release(WatchListPath());
    form_.show();
  }
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].text,
            QString::fromStdString("Cannot open file \"" + WatchListPath() + "\". Not a regular file."));
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"kept"}));
}

TEST_P(WatchListSpecialFile, close_leaves_it_as_it_is_and_shows_the_notice) {
  form_.show();
  if (!GetParam().make(WatchListPath())) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  const auto before = special_files::NodeAt(WatchListPath());
  form_.ListBox2()->SetEntries({"docs"});
  form_.close();
  EXPECT_EQ(special_files::NodeAt(WatchListPath()), before);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("Ошибка сохранения списка"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.Path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(nodes, WatchListSpecialFile, testing::ValuesIn(kSpecialFiles),
                         testing::PrintToStringParamName());

// splist.txt as a link to the real list elsewhere: the link stays, the real list is updated.
TEST_F(WatchListFile, close_writes_through_a_linked_file) {
  std::filesystem::create_directory(directory_.File("real"));
  TemporaryDirectory::WriteBytes(directory_.File("real/list"), "old\r\n");
  std::filesystem::create_symlink("real/list", WatchListPath());
  form_.show();
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"old"}));
  form_.ListBox2()->SetEntries({"docs"});
  form_.close();
  EXPECT_TRUE(boxes_.Boxes().empty());
  ASSERT_TRUE(std::filesystem::is_symlink(WatchListPath()));
  EXPECT_EQ(std::filesystem::read_symlink(WatchListPath()), "real/list");
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("real/list")), "docs\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.File("real")), {}), 1);
}

// A link planted where a fixed temporary name would be must not redirect the write.
TEST_F(WatchListFile, close_does_not_follow_a_link_planted_at_a_temporary_name) {
  TemporaryDirectory::WriteBytes(directory_.File("victim"), "precious");
  std::filesystem::create_symlink(directory_.File("victim"), WatchListPath() + ".tmp");
  form_.show();
  form_.ListBox2()->SetEntries({"docs"});
  form_.close();
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("victim")), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(WatchListPath() + ".tmp"));
  EXPECT_EQ(TemporaryDirectory::ReadBytes(WatchListPath()), "docs\r\n");
}

// On a full disk (a small tmpfs as the program directory) the earlier list stays.
TEST_F(WatchListFile, close_on_a_full_disk_keeps_the_earlier_list_and_shows_the_notice) {
  const special_files::SmallTmpfs disk(directory_.File("disk"));
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  form_.SetExecutableFileName(QString::fromStdString(disk.File("sharemon")));
  TemporaryDirectory::WriteBytes(disk.File("splist.txt"), "old\r\n");
  form_.show();
  ASSERT_TRUE(disk.Fill());
  form_.ListBox2()->SetEntries({"docs", "print$"});
  form_.close();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("Ошибка сохранения списка"));
  EXPECT_EQ(TemporaryDirectory::ReadBytes(disk.File("splist.txt")), "old\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.File("disk")), {}), 2);
}

}  // namespace

namespace {

TEST_F(WatchListFile, quitting_the_application_closes_the_window_and_saves) {
  CloseWindowOnTermination(&form_);
  form_.show();
  form_.ListBox2()->SetEntries({"docs"});
  QTimer::singleShot(0, &application_, &QCoreApplication::quit);
  application_.exec();
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(WatchListPath()), "docs\r\n");
}

}  // namespace
