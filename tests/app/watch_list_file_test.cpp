// splist.txt beside the executable: loaded when the window is shown, saved when it closes.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QString>
#include <QTimer>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/termination.h"
#include "qt_application.h"
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

// A socket file exists but open() refuses it, whoever the user is.
void MakeSocketFile(const std::string& path) {
  const int socket_handle = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(socket_handle, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::copy(path.begin(), path.end(), address.sun_path);
  ASSERT_EQ(bind(socket_handle, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  close(socket_handle);
}

TEST_F(WatchListFile, an_unreadable_file_shows_cannot_open_and_skips_the_rest_of_show) {
  MakeSocketFile(WatchListPath());
  form_.ListBox2()->SetEntries({"kept"});
  form_.show();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].text,
            QString::fromStdString("Cannot open file \"" + WatchListPath() + "\". No such device or address."));
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"kept"}));
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
