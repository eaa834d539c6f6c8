// The window's list commands, its watch list file at show and close, and the table files it
// opens, driven through the window logic with a stand-in view.
#include <gtest/gtest.h>

#include "core/watch_list_file.h"
#include "rtl/errors.h"
#include "window_standins.h"

namespace rtl {
void PrintTo(const StringList& list, std::ostream* out) {
  for (const Text& entry : list) *out << '"' << entry << "\" ";
}
}  // namespace rtl

namespace {

using Boxes = std::vector<std::string>;

class window_commands_test : public window_test::WindowTest {
 protected:
  window_commands_test() { view_.share_list.entries = kShares; }

  const rtl::StringList kShares{"docs", W("общая"), "print$"};
};

TEST_F(window_commands_test, adding_the_selected_share_appends_it_even_twice) {
  view_.share_list.selected = 1;
  logic_.AddSelectedShare();
  logic_.AddSelectedShare();
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{W("общая"), W("общая")}));
}

TEST_F(window_commands_test, adding_without_a_selection_throws_index_minus_one_and_adds_nothing) {
  view_.watch_list.entries = {"kept"};
  try {
    logic_.AddSelectedShare();
    FAIL() << "no error";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
  }
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"kept"}));
}

// The one guard of the window: a command's error is shown once, and the window goes on.
TEST_F(window_commands_test, a_failing_command_shows_its_error_once_and_keeps_the_state_reached) {
  view_.watch_list.entries = {"kept"};
  logic_.Execute(core::WindowCommand::kAddSelectedShare);
  EXPECT_FALSE(logic_.Guarded([] { throw 42; }));
  EXPECT_TRUE(logic_.Guarded([] {}));
  EXPECT_EQ(view_.boxes, (Boxes{"error: List index out of bounds (-1)", "error: Unknown exception"}));
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"kept"}));
  logic_.Execute(core::WindowCommand::kExit);
  EXPECT_TRUE(view_.closed);
}

TEST_F(window_commands_test, copying_the_share_list_replaces_the_watch_list) {
  view_.watch_list.entries = {"manual", "docs"};
  logic_.CopyShareList();
  EXPECT_EQ(view_.watch_list.entries, kShares);
}

TEST_F(window_commands_test, clearing_removes_the_columns_keeps_the_rows_and_empties_the_watch_list) {
  core::ConnectionTable& table = logic_.Table();
  table.AddColumns({W("Время"), "docs"});
  table.AppendValue(table.AddRow("08.12.2026  9:05:07"), "2");
  view_.watch_list.entries = {"docs"};
  logic_.ClearWatchList();
  EXPECT_EQ(table.ColumnCount(), 0);
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.RowAt(0).values, std::vector<rtl::Text>{"2"});
  EXPECT_TRUE(view_.watch_list.entries.Empty());
}

TEST_F(window_commands_test, delete_removes_the_selected_entry_only) {
  view_.watch_list.entries = {"a", "b", "c"};
  view_.watch_list.selected = 1;
  logic_.DeleteSelected();
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"a", "c"}));
  logic_.DeleteSelected();  // nothing selected now
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"a", "c"}));
}

TEST_F(window_commands_test, history_shows_the_chart_page_then_the_selected_share) {
  view_.watch_list.entries = {"docs", "pub"};
  EXPECT_THROW(logic_.ShowHistory(), rtl::ListIndexError);
  EXPECT_EQ(view_.page, core::WindowPage::kChart);
  EXPECT_TRUE(view_.histories.empty());
  view_.watch_list.selected = 1;
  logic_.ShowHistory();
  EXPECT_EQ(view_.histories, std::vector<rtl::Text>{"pub"});
}

// --- the watch list file -------------------------------------------------------------------

struct LoadCase {
  const char* name;
  std::string bytes;
  rtl::StringList entries;
};

void PrintTo(const LoadCase& load_case, std::ostream* out) { *out << load_case.name; }

class watch_list_load_test : public window_test::WindowTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(watch_list_load_test, show_replaces_the_watch_list_by_the_files_lines) {
  view_.watch_list.entries = {"replaced"};
  std::filesystem::create_directories(File("program"));
  TemporaryDirectory::WriteBytes(File("program/splist.txt"), GetParam().bytes);
  ShowIn();
  EXPECT_EQ(view_.watch_list.entries, GetParam().entries);
  EXPECT_TRUE(view_.boxes.empty());
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(line_ends, watch_list_load_test,
                         testing::Values(LoadCase{"crlf", "docs\r\n\xEE\xE1\r\n", {"docs", "\xEE\xE1"}},
                                         LoadCase{"lf", "docs\n\xEE\xE1\n", {"docs", "\xEE\xE1"}},
                                         LoadCase{"no_final_end", "docs\r\n\xEE\xE1", {"docs", "\xEE\xE1"}},
                                         LoadCase{"empty", "", {}},
                                         LoadCase{"nul", "a\r\nb\0c\r\n"s, {"a", "b"}},
                                         LoadCase{"utf8_mark", "\xEF\xBB\xBF"
                                                               "docs\r\n\xD0\xBE\xD0\xB1",
                                                  {"docs", "\xEE\xE1"}}),
                         [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST_F(window_commands_test, show_without_a_file_keeps_the_list_and_fills_the_share_list) {
  view_.watch_list.entries = {"kept"};
  view_.share_list.entries = {"stale"};
  ShowIn();
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"kept"}));
  EXPECT_NE(view_.share_list.entries, (rtl::StringList{"stale"}));
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_EQ(logic_.ProgramFile(core::kWatchListFileName),
            rtl::Text((std::filesystem::path(File("program")) / "splist.txt").string()));
}

TEST_F(window_commands_test, close_writes_the_list_with_crlf_once) {
  ShowIn();
  view_.watch_list.entries = {"docs", "docs", "", W("общая")};
  EXPECT_TRUE(logic_.Close());
  EXPECT_EQ(ReadFile("program/splist.txt"), "docs\r\ndocs\r\n\r\n" + W("общая") + "\r\n");
  TemporaryDirectory::WriteBytes(File("program/splist.txt"), "changed\r\n");
  EXPECT_TRUE(logic_.Close());
  EXPECT_EQ(ReadFile("program/splist.txt"), "changed\r\n");
  EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(window_commands_test, close_with_an_empty_list_writes_an_empty_file) {
  std::filesystem::create_directories(File("program"));
  TemporaryDirectory::WriteBytes(File("program/splist.txt"), "old\r\n");
  ShowIn();
  view_.watch_list.entries.Clear();
  logic_.Close();
  EXPECT_TRUE(std::filesystem::exists(File("program/splist.txt")));
  EXPECT_EQ(ReadFile("program/splist.txt"), "");
}

TEST_F(window_commands_test, a_failed_save_shows_the_notice_and_the_window_still_closes) {
  ShowIn();
  std::filesystem::create_directory(File("program/splist.txt"));  // cannot be replaced by a file
  EXPECT_TRUE(logic_.Close());
  EXPECT_EQ(view_.boxes, Boxes{"notice: Ошибка сохранения списка"});
}

// A list locked by another program at start was shown empty and then written over the file.
TEST_F(window_commands_test, a_list_that_could_not_be_read_is_left_alone_and_a_changed_one_kept_beside) {
  std::filesystem::create_directories(File("program"));
  window_test::UnreadableFile file(File("program/splist.txt"));
  EXPECT_THROW(ShowIn(), std::exception);
  file.Release();
  logic_.SaveWatchList();  // the session ends with the list as it was
  EXPECT_TRUE(file.Intact());
  EXPECT_TRUE(view_.boxes.empty());
  view_.watch_list.entries = {"pub"};
  EXPECT_TRUE(logic_.Close());
  EXPECT_TRUE(file.Intact());
  EXPECT_EQ(ReadFile("program/splist.new.txt"), "pub\r\n");
  const std::string beside = (std::filesystem::path(File("program")) / "splist.new.txt").string();
  EXPECT_EQ(view_.boxes, Boxes{"notice: " + std::string(core::WindowLogic::kWatchListKeptBeside) + beside});
}

TEST_F(window_commands_test, a_window_never_shown_does_not_overwrite_the_file) {
  std::filesystem::create_directories(File("program"));
  TemporaryDirectory::WriteBytes(File("program/splist.txt"), "docs\r\n");
  logic_.Close();
  logic_.SaveWatchList();
  EXPECT_EQ(ReadFile("program/splist.txt"), "docs\r\n");
}

// --- table files ---------------------------------------------------------------------------

TEST_F(window_commands_test, open_loads_the_chosen_file_and_a_cancel_or_a_vanished_file_nothing) {
  logic_.OpenTableFile();
  view_.file_to_open = File("none.txt");
  logic_.OpenTableFile();
  EXPECT_EQ(Table().ColumnCount(), 0);
  TemporaryDirectory::WriteBytes(File("t.txt"), "T,docs\r\nd t,5\r\n");
  view_.file_to_open = File("t.txt");
  logic_.OpenTableFile();
  EXPECT_EQ(Table().Columns(), (std::vector<rtl::Text>{"T", "docs"}));
  ASSERT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(Table().RowAt(0).caption, "d t");
}

TEST_F(window_commands_test, a_short_line_in_the_chosen_file_ends_the_load_with_the_rows_so_far) {
  TemporaryDirectory::WriteBytes(File("t.txt"), "T\r\nd t,5\r\nalone\r\n");
  view_.file_to_open = File("t.txt");
  EXPECT_THROW(logic_.OpenTableFile(), rtl::ListIndexError);
  EXPECT_EQ(Table().RowCount(), 2);
}

// A file named on the command line loads once the event loop runs; its errors are shown.
TEST_F(window_commands_test, a_file_opened_later_loads_from_the_event_loop) {
  TemporaryDirectory::WriteBytes(File("t.txt"), "T,docs\r\nd t,5\r\n");
  TemporaryDirectory::WriteBytes(File("short.txt"), "T\r\nalone\r\n");
  logic_.OpenTableFileLater(File("t.txt"));
  logic_.OpenTableFileLater(File("short.txt"));
  EXPECT_EQ(Table().ColumnCount(), 0);
  poster_.RunPending();
  EXPECT_EQ(Table().Columns(), (std::vector<rtl::Text>{"T", "docs", "T"}));
  EXPECT_EQ(Table().RowCount(), 2);
  EXPECT_EQ(view_.boxes, Boxes{"error: List index out of bounds (1)"});
}

// A folder whose name no code page holds whole (a user named José or Әсел): the watch list
// loads from it, and a stop, "Сохранить таблицу" and closing write there.
TEST_F(window_commands_test, a_folder_named_outside_the_code_page_keeps_every_file_in_it) {
  const std::filesystem::path folder = directory_.Path() / std::filesystem::path(u8"José Әсел");
  std::filesystem::create_directories(folder);
  TemporaryDirectory::WriteBytes(folder / "splist.txt", "docs\r\n");
  logic_.Show(folder);
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"docs"}));
  const std::filesystem::path table = folder / "list_08.12.2026_9.05.07.txt";
  logic_.StartStop();
  logic_.StartStop();
  EXPECT_EQ(TemporaryDirectory::ReadBytes(table), W("Время") + ",docs\r\n");
  std::filesystem::remove(table);
  logic_.SaveTable();
  EXPECT_TRUE(std::filesystem::exists(table));
  view_.watch_list.entries = {"pub"};
  EXPECT_TRUE(logic_.Close());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(folder / "splist.txt"), "pub\r\n");
  EXPECT_TRUE(view_.boxes.empty());
}

// A missing file, a folder or a device on the command line was ignored without a word.
TEST_F(window_commands_test, a_file_opened_later_that_cannot_be_read_is_reported) {
  std::filesystem::create_directory(File("folder"));
#ifdef _WIN32
  const std::string device = "CON";
#else
  const std::string device = "/dev/null";
#endif
  for (const std::string& file : {File("none.txt"), File("folder"), device}) logic_.OpenTableFileLater(file);
  poster_.RunPending();
  ASSERT_EQ(view_.boxes.size(), 3u);
  for (const std::string& box : view_.boxes) EXPECT_EQ(box.rfind("error: ", 0), 0u) << box;
}

}  // namespace
