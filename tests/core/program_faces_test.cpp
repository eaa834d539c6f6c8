// Which face a command line picks and what reaches a system's own parts: a table file for the
// window, nothing at all for a command line the faces refuse. (What the faces print, on both
// systems alike, is tests/windows/command_lines.txt.)
#include "core/program_faces.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(program_faces_test, an_option_never_opens_the_window_and_one_operand_is_its_table_file) {
  const struct {
    std::vector<std::string> arguments;
    int exit_code;
    std::optional<std::string> window;  // the table file the window got, or "no window"
  } cases[] = {
      {{}, 7, std::nullopt},
      {{"list.txt"}, 7, "list.txt"},
      {{"-"}, 7, "-"},
      {{"list.txt", "more.txt"}, 2, "no window"},
      {{"-x"}, 2, "no window"},
      {{"--pol"}, 2, "no window"},
      {{"list.txt", "--poll"}, 2, "no window"},
      {{"--poll", "--watch"}, 2, "no window"},
      {{"--probe"}, 2, "no window"},
  };
  for (const auto& c : cases) {
    std::optional<std::string> window = "no window";
    const core::SystemFaces system{
        [&](const std::optional<std::string>& table_file) {
          window = table_file;
          return 7;
        },
        nullptr,
        [](const core::HeadlessSettings&, const core::PollArguments&) { return 9; },
    };
    const std::string what = c.arguments.empty() ? "" : c.arguments[0];
    EXPECT_EQ(core::RunCommandLine(c.arguments, system), c.exit_code) << what;
    EXPECT_EQ(window, c.window) << what;
  }
}

}  // namespace
