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
  // Holds the reader and starts a reading that waits in it.
  void StartHeldReading() {
    const int entered = reader_.Entered();
    reader_.Hold();
    page_->Refresh();
    ASSERT_TRUE(poster_.RunUntil([&] { return reader_.Entered() > entered; }));
  }

  window_test::StandInServerPage view_;
  window_test::StandInPoster poster_;
  window_test::StandInReader reader_;
  std::unique_ptr<core::ServerPage> page_ = std::make_unique<core::ServerPage>(view_, poster_, reader_);
};

TEST_F(server_page_test, refresh_fills_both_lists_in_the_servers_order) {
  reader_.Prepare(Sessions({{"ivan", 2}, {"anna", 1}}), Files({"b.txt", "a.txt", "c.txt"}));
  Refresh();
  EXPECT_EQ(view_.sessions.Column(0), (Cells{"ivan", "anna"}));
  EXPECT_EQ(view_.open_files.Column(0), (Cells{"b.txt", "a.txt", "c.txt"}));
  EXPECT_EQ(rtl::Utf8FromWindows1251(view_.open_files.rows->Caption(0)), "Файл");
  EXPECT_EQ(view_.statuses, (Cells{""}));
  EXPECT_EQ(reader_.SharesAsked(), (std::vector<rtl::Text>{""}));
}

TEST_F(server_page_test, header_clicks_sort_ascending_then_descending_and_later_readings_keep_the_order) {
  struct Click {
    int column;
    bool descending;
    Cells users;
  };
  const Click clicks[] = {
      {0, false, {"anna", "boris", "ivan"}}, {0, true, {"ivan", "boris", "anna"}},
      {5, false, {"anna", "ivan", "boris"}}, {5, true, {"boris", "ivan", "anna"}},
  };
  reader_.Prepare(Sessions({{"ivan", 2}, {"boris", 7}, {"anna", 1}}), Files({}));
  Refresh();
  for (const Click& click : clicks) {
    view_.sessions.clicked = click.column;
    page_->SortSessions();
    EXPECT_EQ(view_.sessions.Column(0), click.users) << click.column;
    EXPECT_EQ(view_.sessions.sort_column, click.column);
    EXPECT_EQ(view_.sessions.descending, click.descending);
  }
  reader_.Prepare(Sessions({{"anna", 1}, {"oleg", 9}, {"ivan", 2}}), Files({}));
  Refresh();
  EXPECT_EQ(view_.sessions.Column(0), (Cells{"oleg", "ivan", "anna"}));
}

TEST_F(server_page_test, requests_during_a_reading_give_exactly_one_more_reading) {
  struct Case {
    const char* meanwhile;  // R: Refresh, S: ShareChosen
    int sessions_read;      // by both readings
  };
  for (const Case c : {Case{"RRR", 2}, Case{"SS", 1}, Case{"SR", 2}}) {
    const int ended = reader_.Ended(), sessions_read = reader_.SessionsRead();
    StartHeldReading();
    for (const char* request = c.meanwhile; *request; ++request) *request == 'R' ? page_->Refresh() : page_->ShareChosen();
    reader_.Release();
    Readings(view_.statuses.size() + 2);
    EXPECT_EQ(reader_.Ended() - ended, 2) << c.meanwhile;
    EXPECT_EQ(reader_.SessionsRead() - sessions_read, c.sessions_read) << c.meanwhile;
  }
}

TEST_F(server_page_test, a_failed_reading_empties_its_list_and_the_status_line_says_why_or_what_was_cut) {
  using platform::OpenFileReading;
  using platform::SessionReading;
  const std::string advice = "Нет доступа к службе состояния. Добавьте пользователя в группу sharemon.";
  struct Case {
    SessionReading sessions;
    OpenFileReading files;
    std::string status;
  };
  const Case cases[] = {
      {Failed<SessionReading>(ServerReadOutcome::kAccessDenied, advice), Files({"a.txt"}), advice},
      {Failed<SessionReading>(ServerReadOutcome::kNoService, "Служба не отвечает"),
       Failed<OpenFileReading>(ServerReadOutcome::kNoService, "Служба не отвечает"), "Служба не отвечает"},
      {Failed<SessionReading>(ServerReadOutcome::kAccessDenied, advice),
       Failed<OpenFileReading>(ServerReadOutcome::kFailed, "Ответ не прочитан"), advice + " Ответ не прочитан"},
      {Sessions({{"ivan", 1}}), Files({"a.txt", "b.txt"}, true),
       "Список открытых файлов неполон: показаны первые 2"},
  };
  for (const Case& c : cases) {
    reader_.Prepare(Sessions({{"ivan", 1}}), Files({"a.txt"}));
    Refresh();
    reader_.Prepare(c.sessions, c.files);
    Refresh();
    EXPECT_EQ(view_.sessions.rows->RowCount(), static_cast<int>(c.sessions.records.size())) << c.status;
    EXPECT_EQ(view_.open_files.rows->RowCount(), static_cast<int>(c.files.records.size())) << c.status;
    EXPECT_EQ(view_.statuses.back(), c.status);
  }
}

TEST_F(server_page_test, the_share_box_keeps_the_chosen_share_while_it_is_there) {
  const rtl::Text all = W(core::ServerPage::kAllShares);
  page_->SetShares({"docs", "pub"});
  EXPECT_EQ(view_.share_box.choices, (rtl::StringList{all, "docs", "pub"}));
  EXPECT_EQ(view_.share_box.chosen, 0);
  view_.share_box.chosen = 2;
  page_->ShareChosen();
  page_->SetShares({"home", "pub"});
  EXPECT_EQ(view_.share_box.chosen, 2);
  page_->SetShares({"home"});
  EXPECT_EQ(view_.share_box.chosen, 0);
}

TEST_F(server_page_test, a_chosen_share_reads_its_open_files_and_not_the_sessions) {
  reader_.Prepare(Sessions({{"ivan", 1}}), Files({"a.txt"}));
  page_->SetShares({"docs", "pub"});
  Refresh();
  reader_.Prepare(Sessions({}), Files({"pub.txt"}));
  view_.share_box.chosen = 2;
  page_->ShareChosen();
  Readings(2);
  EXPECT_EQ(reader_.SharesAsked(), (std::vector<rtl::Text>{"", "pub"}));
  EXPECT_EQ(reader_.SessionsRead(), 1);
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
  EXPECT_EQ(reader_.Ended(), 3);
  EXPECT_EQ(view_.statuses.size(), 1u);
  EXPECT_EQ(view_.sessions.shown, 1);
}

}  // namespace
