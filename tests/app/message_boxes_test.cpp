#include "app/message_boxes.h"

#include <gtest/gtest.h>

#include "qt_application.h"

namespace {

class MessageBoxes : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  MessageBoxRecorder boxes_;
};

TEST_F(MessageBoxes, title_is_the_executable_name_without_extension) {
  // This test program is named app_window_test (no extension).
  EXPECT_EQ(ApplicationTitle(), QStringLiteral("app_window_test"));
}

TEST_F(MessageBoxes, error_box_appends_the_full_stop_by_its_rule) {
  ErrorBox("Disk full");
  ErrorBox("List index out of bounds (-1)");
  ErrorBox("\xCE\xF8\xE8\xE1\xEA\xE0");  // "Ошибка"
  ASSERT_EQ(boxes_.Boxes().size(), 3u);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("Disk full."));
  EXPECT_EQ(boxes_.Boxes()[1].text, QStringLiteral("List index out of bounds (-1)"));
  EXPECT_EQ(boxes_.Boxes()[2].text, QStringLiteral("Ошибка."));
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].title, ApplicationTitle());
}

TEST_F(MessageBoxes, notice_box_shows_the_text_as_it_is) {
  NoticeBox("\xCE\xF8\xE8\xE1\xEA\xE0 \xF1\xEE\xF5\xF0\xE0\xED\xE5\xED\xE8\xFF \xF1\xEF\xE8\xF1\xEA\xE0");
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kNotice);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("Ошибка сохранения списка"));
}

}  // namespace

namespace {

TEST_F(MessageBoxes, the_innermost_recorder_gets_the_boxes_until_it_ends) {
  {
    MessageBoxRecorder inner;
    NoticeBox("inner");
    ASSERT_EQ(inner.Boxes().size(), 1u);
  }
  NoticeBox("outer");
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("outer"));
}

}  // namespace
