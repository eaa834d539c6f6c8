// What --sessions and --open-files print: every field escaped so that each row stays one line
// of one field per column, a failed reading's reason on standard error, and the command lines
// the faces refuse before reading anything.
#include "core/server_faces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/windows1251_text.h"

namespace {

using platform::ServerReadOutcome;

TEST(server_faces_test, control_characters_and_backslashes_are_escaped_and_the_rest_stays) {
  const std::pair<rtl::Text, std::string> cases[] = {
      {"a\tb", "a\\tb"},           {"two\nlines\r", "two\\nlines\\r"}, {"C:\\x", "C:\\\\x"},
      {"\\t", "\\\\t"},            {"\x01\x1F\x7F\x98", "\\x01\\x1F\\x7F\\x98"}, {W("Отчёт \"1\" 'a'"), "Отчёт \"1\" 'a'"},
      {"", ""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(core::EscapedField(text), field) << field;
}

TEST(server_faces_test, a_reading_prints_the_captions_and_one_line_of_every_field_per_record) {
  platform::SessionReading sessions{ServerReadOutcome::kRead, {}, false, ""};
  for (const char* name : {"plain", "tab\there", "line\nbreak", "\r\n\t\\", ""}) {
    sessions.records.push_back({name, name, "NT1", {}, {}, std::nullopt, std::nullopt, 1});
  }
  platform::OpenFileReading files{ServerReadOutcome::kRead, {{"public", "a\tb.txt", "x\ny", "", {}, "", "", std::nullopt}}, false, ""};
  const std::pair<core::FaceOutput, std::size_t> cases[] = {
      {core::SessionsOutput(sessions), 8}, {core::OpenFilesOutput(files), 7}};
  for (const auto& [output, columns] : cases) {
    EXPECT_EQ(output.exit_code, 0);
    EXPECT_EQ(output.error, "");
    std::istringstream lines(output.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(rows[0].starts_with(columns == 8 ? "Пользователь\tКомпьютер\t" : "Файл\tШара\t")) << rows[0];
    for (const auto& row : rows) EXPECT_EQ(static_cast<std::size_t>(std::count(row.begin(), row.end(), '\t')), columns - 1) << row;
  }
  const std::string session_rows = core::SessionsOutput(sessions).out;
  EXPECT_NE(session_rows.find("\ntab\\there\ttab\\there\tNT1\t"), std::string::npos) << session_rows;
  EXPECT_NE(session_rows.find("\n\\r\\n\\t\\\\\t"), std::string::npos) << session_rows;
}

TEST(server_faces_test, a_failed_reading_gives_its_reason_on_standard_error_and_exit_code_1) {
  const std::pair<platform::SessionReading, std::string> cases[] = {
      {{ServerReadOutcome::kAccessDenied, {}, false, W("Запустите от имени администратора.")},
       "Запустите от имени администратора.\n"},
      {{ServerReadOutcome::kNoService, {}, false, ""}, "no_service\n"},
      {{ServerReadOutcome::kFailed, {}, false, "broken"}, "broken\n"},
  };
  for (const auto& [reading, error] : cases) {
    const core::FaceOutput output = core::SessionsOutput(reading);
    EXPECT_EQ(output.exit_code, 1) << error;
    EXPECT_EQ(output.out, "") << error;
    EXPECT_EQ(output.error, error);
  }
  const platform::OpenFileReading cut{ServerReadOutcome::kRead, {{"public", "a", "", "", {}, "", "", std::nullopt}}, true, ""};
  const core::FaceOutput output = core::OpenFilesOutput(cut);
  EXPECT_EQ(output.exit_code, 0);
  EXPECT_NE(output.error.find("first 1 "), std::string::npos) << output.error;
}

TEST(server_faces_test, a_command_line_the_face_does_not_take_is_refused_before_reading) {
  using Face = core::FaceResult (*)(const std::vector<std::string>&);
  const std::tuple<Face, std::vector<std::string>, std::string> cases[] = {
      {core::SessionsFace, {"public"}, "unexpected argument public"},
      {core::SessionsFace, {"--all"}, "unknown option --all"},
      {core::OpenFilesFace, {"public", "docs"}, "unexpected argument docs"},
      {core::OpenFilesFace, {"-x"}, "unknown option -x"},
  };
  for (const auto& [face, arguments, problem] : cases) {
    const auto result = face(arguments);
    ASSERT_TRUE(std::holds_alternative<core::CommandLineRefusal>(result)) << problem;
    EXPECT_EQ(std::get<core::CommandLineRefusal>(result).problem, problem);
  }
}

}  // namespace
