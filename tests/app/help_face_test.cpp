// "--help" and "--version" of the installed programs, run as real processes: the manual pages
// are made from this output, so it must come on standard output, with exit code 0, without a
// display, and name the faces the program really has.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/temporary_directory.h"
#include "tests/support/test_process.h"

namespace {

using namespace std::chrono_literals;

struct Finished {
  int exit_code;
  std::string out, err;
};

// The program with the arguments, where no platform plugin could be loaded: a face that made
// a GUI application would abort.
Finished RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
  TemporaryDirectory directory;
  TestProcess process(BuildDir() + "/" + program, arguments, {"QT_QPA_PLATFORM=none-such"}, directory.Path(), "");
  const int status = process.Wait(30s);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, process.Out(), process.Err()};
}

TEST(help_face_test, help_and_version_come_on_standard_output_with_exit_code_0) {
  struct Case {
    std::string program;
    std::vector<std::string> arguments;
    std::regex out;  // the whole of standard output
  } cases[] = {
      {"sharemon", {"--help"}, std::regex("Usage: sharemon [^]*")},
      {"sharemon", {"-h"}, std::regex("Usage: sharemon [^]*")},
      {"sharemon", {"--version"}, std::regex("sharemon \\d+(\\.\\d+)+\n")},
      {"netshare", {"--help"}, std::regex("Usage: netshare NAME\n[^]*")},
      {"sharemond", {"--help"}, std::regex("Usage: sharemond [^]*")},
  };
  for (const Case& c : cases) {
    const Finished run = RunProgram(c.program, c.arguments);
    EXPECT_EQ(run.exit_code, 0) << c.program << " " << c.arguments[0] << "\n" << run.err;
    EXPECT_TRUE(std::regex_match(run.out, c.out)) << c.program << " " << c.arguments[0] << "\n" << run.out;
    EXPECT_EQ(run.err, "") << c.program << " " << c.arguments[0];
  }
}

TEST(help_face_test, the_help_documents_the_metrics_default_and_every_face_it_names_is_taken) {
  const Finished help = RunProgram("sharemon", {"--help"});
  // The address the unit and a Prometheus scrape job rely on is stated where users look.
  EXPECT_NE(help.out.find("127.0.0.1:19922"), std::string::npos) << help.out;
  // Every face the usage lines name is one the program takes: none of them opens the window
  // (which, without a display, would abort) when asked for its help or given a bad argument.
  std::smatch usage;
  const std::regex usage_line("(?:Usage:|  or: ) sharemon (--[a-z-]+)");
  int faces = 0;
  for (auto at = help.out.cbegin(); std::regex_search(at, help.out.cend(), usage, usage_line); at = usage.suffix().first) {
    const Finished face = RunProgram("sharemon", {usage[1].str(), "--no-such-option"});
    EXPECT_NE(face.exit_code, -1) << usage[1] << " died:\n" << face.err;
    EXPECT_EQ(face.err.find("platform plugin"), std::string::npos) << usage[1] << "\n" << face.err;
    ++faces;
  }
  EXPECT_GE(faces, 4) << help.out;
}

}  // namespace
