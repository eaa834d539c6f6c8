// What --sessions and --open-files print: every field escaped so that each row stays one line
// of one field per column, a failed reading's reason on standard error, and the command lines
// the faces refuse before reading anything.
#include "core/server_faces.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/tab_separated_rows.h"
#include "tests/support/windows1251_text.h"

namespace {

using platform::ServerReadOutcome;
using Rows = std::vector<std::vector<std::string>>;

TEST(server_faces_test, control_characters_and_backslashes_are_escaped_and_the_rest_stays) {
  const std::pair<rtl::Text, std::string> cases[] = {
      {"a\tb", "a\\tb"}, {"two\nlines\r", "two\\nlines\\r"}, {"C:\\x", "C:\\\\x"}, {"\\t", "\\\\t"},
      {"\x01\x1F\x7F\x98", "\\x01\\x1F\\x7F\\x98"}, {W("Отчёт \"1\" 'a'"), "Отчёт \"1\" 'a'"}, {"", ""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(core::EscapedField(text), field) << field;
}

TEST(server_faces_test, a_reading_prints_the_captions_and_one_line_of_every_field_per_record) {
  const platform::SessionReading sessions{
      ServerReadOutcome::kRead, {{"tab\there", "a\nb", "NT1", {}, {}, std::nullopt, std::nullopt, 1}}, false, ""};
  const platform::OpenFileReading files{
      ServerReadOutcome::kRead, {{"public", "\r\n\t\\", "x", "", {true, false, true}, "", "", std::nullopt}}, true, ""};
  const core::FaceOutput session_output = core::SessionsOutput(sessions), file_output = core::OpenFilesOutput(files);
  EXPECT_EQ(TabSeparatedRows(session_output.out),
            (Rows{{"Пользователь", "Компьютер", "Протокол", "Шифрование", "Подписывание", "Файлов", "Подключён",
                   "Простой"},
                  {"tab\\there", "a\\nb", "NT1", "", "", "1", "", ""}}));
  EXPECT_EQ(TabSeparatedRows(file_output.out),
            (Rows{{"Файл", "Шара", "Пользователь", "Компьютер", "Доступ", "Блокировки", "Открыт"},
                  {"\\r\\n\\t\\\\", "public", "x", "", "RD", "", ""}}));
  EXPECT_EQ(session_output.exit_code + file_output.exit_code, 0);
  EXPECT_EQ(session_output.error, "");
  EXPECT_NE(file_output.error.find("first 1 "), std::string::npos) << "a cut reading says so: " << file_output.error;
}

TEST(server_faces_test, a_failed_reading_gives_its_reason_on_standard_error_and_exit_code_1) {
  const std::pair<platform::SessionReading, std::string> cases[] = {
      {{ServerReadOutcome::kAccessDenied, {}, false, W("Запустите от имени администратора.")},
       "Запустите от имени администратора.\n"},
      {{ServerReadOutcome::kNoService, {}, false, ""}, "no_service\n"},
  };
  for (const auto& [reading, error] : cases) {
    const core::FaceOutput output = core::SessionsOutput(reading);
    EXPECT_EQ(std::make_tuple(output.exit_code, output.out, output.error), std::make_tuple(1, std::string(), error));
  }
}

}  // namespace
