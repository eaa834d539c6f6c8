// The page "Сеансы и файлы": readings off the window's thread into sorted owner-data rows, one
// more reading for any number asked meanwhile, the status line, the share box, and nothing
// delivered once the page is gone; with the stand-in page, event loop and reader.
#include "core/window/server_page.h"

#include <gtest/gtest.h>

#include "window_standins.h"

namespace {

using platform::ServerReadOutcome;
using Cells = std::vector<std::string>;

platform::SessionReading Sessions(const std::vector<std::pair<std::string, int>>& users_and_files) {
  platform::SessionReading reading{ServerReadOutcome::kRead, {}, false, ""};
  for (const auto& [user, files] : users_and_files) {
    platform::SessionRecord& session = reading.records.emplace_back();
    session.user = W(user);
    session.open_files = files;
  }
  return reading;
}

platform::OpenFileReading Files(const std::vector<std::string>& paths, bool truncated = false) {
  platform::OpenFileReading reading{ServerReadOutcome::kRead, {}, truncated, ""};
  for (const auto& path : paths) reading.records.emplace_back().path = W(path);
  return reading;
}

template <typename Reading>
Reading Failed(ServerReadOutcome outcome, const std::string& error) {
  return {outcome, {}, false, W(error)};
}

class server_page_test : public testing::Test {
 protected:
  ~server_page_test() override { reader_.Release(); }

  // Runs the event loop until the page has shown `count` statuses, one per reading.
  void Readings(std::size_t count) {
    ASSERT_TRUE(poster_.RunUntil([&] { return view_.statuses.size() >= count; }));
    poster_.RunPending();
    EXPECT_EQ(view_.statuses.size(), count);
  }
  void Refresh() {
    page_->Refresh();
    Readings(view_.statuses.size() + 1);
  }
  void StartHeldReading() {
    const int entered = reader_.entered;
    reader_.Hold();
    page_->Refresh();
    ASSERT_TRUE(poster_.RunUntil([&] { return reader_.entered > entered; }));
  }

  window_test::StandInServerPage view_;
  window_test::StandInPoster poster_;
  window_test::StandInReader reader_;
  std::unique_ptr<core::ServerPage> page_ = std::make_unique<core::ServerPage>(view_, poster_, reader_);
};

TEST_F(server_page_test, rows_keep_the_servers_order_until_a_header_click_which_later_readings_keep) {
  struct Click {
    int column;
    bool descending;
    Cells users;
  };
  const Click clicks[] = {
      {0, false, {"anna", "boris", "ivan"}},
      {0, true, {"ivan", "boris", "anna"}},
      {5, false, {"anna", "ivan", "boris"}},
      {5, true, {"boris", "ivan", "anna"}},
  };
  reader_.sessions = Sessions({{"ivan", 2}, {"boris", 7}, {"anna", 1}});
  reader_.files = Files({"b.txt", "a.txt"});
  Refresh();
  EXPECT_EQ(view_.sessions.Column(0), (Cells{"ivan", "boris", "anna"}));
  EXPECT_EQ(view_.open_files.Column(0), (Cells{"b.txt", "a.txt"}));
  EXPECT_EQ(view_.statuses, (Cells{""}));
  for (const Click& click : clicks) {
    view_.sessions.clicked = click.column;
    page_->SortSessions();
    EXPECT_EQ(view_.sessions.Column(0), click.users) << click.column;
    EXPECT_EQ(view_.sessions.sort_column, click.column);
    EXPECT_EQ(view_.sessions.descending, click.descending);
  }
  reader_.sessions = Sessions({{"anna", 1}, {"oleg", 9}, {"ivan", 2}});
  Refresh();
  EXPECT_EQ(view_.sessions.Column(0), (Cells{"oleg", "ivan", "anna"}));
}

TEST_F(server_page_test, requests_during_a_reading_give_exactly_one_more_reading) {
  struct Case {
    const char* meanwhile;  // R: Refresh, S: ShareChosen
    int sessions_read;      // by both readings
  };
  for (const Case c : {Case{"RRR", 2}, Case{"SS", 1}, Case{"SR", 2}}) {
    const int ended = reader_.ended, sessions_read = reader_.sessions_read;
    StartHeldReading();
    for (const char* request = c.meanwhile; *request; ++request) {
      *request == 'R' ? page_->Refresh() : page_->ShareChosen();
    }
    reader_.Release();
    Readings(view_.statuses.size() + 2);
    EXPECT_EQ(reader_.ended - ended, 2) << c.meanwhile;
    EXPECT_EQ(reader_.sessions_read - sessions_read, c.sessions_read) << c.meanwhile;
  }
}

TEST_F(server_page_test, a_failed_reading_empties_its_list_and_the_status_line_says_why_or_what_was_cut) {
  const std::string advice = "Нет доступа к службе состояния. Добавьте пользователя в группу sharemon.";
  using platform::OpenFileReading;
  using platform::SessionReading;
  const auto denied = Failed<SessionReading>(ServerReadOutcome::kAccessDenied, advice);
  struct Case {
    SessionReading sessions;
    OpenFileReading files;
    std::string status;
  };
  const Case cases[] = {
      {denied, Files({"a.txt"}), advice},
      {Failed<SessionReading>(ServerReadOutcome::kNoService, "Служба не отвечает"),
       Failed<OpenFileReading>(ServerReadOutcome::kNoService, "Служба не отвечает"), "Служба не отвечает"},
      {denied, Failed<OpenFileReading>(ServerReadOutcome::kFailed, "Ответ не прочитан"), advice + " Ответ не прочитан"},
      {Sessions({{"ivan", 1}}), Files({"a.txt", "b.txt"}, true), "Список открытых файлов неполон: показаны первые 2"},
  };
  for (const Case& c : cases) {
    reader_.sessions = Sessions({{"ivan", 1}});
    reader_.files = Files({"a.txt"});
    Refresh();
    reader_.sessions = c.sessions;
    reader_.files = c.files;
    Refresh();
    EXPECT_EQ(view_.sessions.rows->RowCount(), static_cast<int>(c.sessions.records.size())) << c.status;
    EXPECT_EQ(view_.open_files.rows->RowCount(), static_cast<int>(c.files.records.size())) << c.status;
    EXPECT_EQ(view_.statuses.back(), c.status);
  }
}

TEST_F(server_page_test, the_share_box_keeps_the_chosen_share_while_it_is_there) {
  page_->SetShares({"docs", "pub"});
  EXPECT_EQ(view_.share_box.choices, (rtl::StringList{W(core::ServerPage::kAllShares), "docs", "pub"}));
  EXPECT_EQ(view_.share_box.chosen, 0);
  view_.share_box.chosen = 2;
  page_->ShareChosen();
  page_->SetShares({"home", "pub"});
  EXPECT_EQ(view_.share_box.chosen, 2);
  page_->SetShares({"home"});
  EXPECT_EQ(view_.share_box.chosen, 0);
}

TEST_F(server_page_test, a_chosen_share_reads_its_open_files_and_not_the_sessions) {
  reader_.sessions = Sessions({{"ivan", 1}});
  page_->SetShares({"docs", "pub"});
  Refresh();
  reader_.sessions = Sessions({});
  reader_.files = Files({"pub.txt"});
  view_.share_box.chosen = 2;
  page_->ShareChosen();
  Readings(2);
  EXPECT_EQ(reader_.shares_asked, (std::vector<rtl::Text>{"", "pub"}));
  EXPECT_EQ(view_.sessions.Column(0), (Cells{"ivan"}));
  EXPECT_EQ(view_.open_files.Column(0), (Cells{"pub.txt"}));
}

// Dropped (the window closes) or gone, the page shows no reading that ends afterwards; once
// dropped, it reads again at once when asked.
TEST_F(server_page_test, a_reading_ending_after_the_drop_or_the_page_reaches_nothing) {
  StartHeldReading();
  page_->DropReadings();
  reader_.Release();
  page_->Refresh();
  Readings(1);
  StartHeldReading();
  reader_.Release();
  page_.reset();
  poster_.RunPending();
  EXPECT_EQ(reader_.ended, 3);
  EXPECT_EQ(view_.statuses.size(), 1u);
  EXPECT_EQ(view_.sessions.shown, 1);
}

}  // namespace
