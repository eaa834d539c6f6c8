// The picture face: what --render reads on Linux and Windows alike, and the table it keeps.
#include "core/render_face.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temporary_directory.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(render_face_test, the_arguments_reach_the_request_and_the_size_defaults_to_chart1) {
  const auto full = core::ReadRenderArguments({"list.txt", "--share", "docs", "--out", "a.png", "--size", "400x300"});
  ASSERT_TRUE(std::holds_alternative<core::RenderRequest>(full)) << std::get<std::string>(full);
  const auto& request = std::get<core::RenderRequest>(full);
  EXPECT_EQ(request.table_file, "list.txt");
  EXPECT_EQ(request.share, "docs");
  EXPECT_EQ(request.out_file, "a.png");
  EXPECT_EQ(request.width, 400);
  EXPECT_EQ(request.height, 300);
  const auto shortest = core::ReadRenderArguments({"--out", "a.png", "--share", "d", "t"});
  ASSERT_TRUE(std::holds_alternative<core::RenderRequest>(shortest));
  EXPECT_EQ(std::get<core::RenderRequest>(shortest).width, 817);
  EXPECT_EQ(std::get<core::RenderRequest>(shortest).height, 250);
}

TEST(render_face_test, unusable_arguments_are_refused_with_the_problem) {
  const struct {
    Arguments arguments;
    std::string problem;
  } cases[] = {
      {{}, "missing TABLEFILE"},
      {{"t", "--share", "d"}, "missing --out FILE.png"},
      {{"t", "--out", "a.png"}, "missing --share NAME"},
      {{"t", "--share", "d", "--out"}, "missing value after --out"},
      {{"t", "--share", "", "--out", "a.png"}, "invalid value for --share: "},
      {{"t", "--share", "d", "--out", "a.png", "--size", "400"}, "invalid value for --size: 400"},
      {{"t", "--share", "d", "--out", "a.png", "--size", "0x10"}, "invalid value for --size: 0x10"},
      {{"t", "--share", "d", "--out", "a.png", "--size", "10x10px"}, "invalid value for --size: 10x10px"},
      {{"t", "--share", "d", "--out", "a.png", "--size", "16385x10"}, "invalid value for --size: 16385x10"},
      {{"t", "--share", "d", "--out", "a.png", "--colour", "red"}, "unknown option --colour"},
      {{"t", "u", "--share", "d", "--out", "a.png"}, "unexpected argument u"},
  };
  for (const auto& c : cases) {
    const auto read = core::ReadRenderArguments(c.arguments);
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.problem;
    EXPECT_EQ(std::get<std::string>(read), c.problem);
  }
}

// Refused before the table is read or a picture made, so the rows stay as they were.
TEST(render_face_test, an_out_that_names_the_table_file_is_refused_and_the_table_stays) {
  TemporaryDirectory directory;
  const std::string table = directory.File("list.txt");
  TemporaryDirectory::WriteBytes(table, "T,docs\r\nd t,2\r\n");
#ifdef _WIN32
  const std::string another_name = directory.File("LIST.TXT");
#else
  const std::string another_name = directory.File("link.txt");
  std::filesystem::create_symlink(table, another_name);
#endif
  const core::PictureMaker maker = [](core::HistoryPicture&) { return std::string("PNG"); };
  for (const std::string& out : {table, (directory.Path() / "." / "list.txt").string(), another_name}) {
    EXPECT_EQ(core::RunRenderFace({table, "--share", "docs", "--out", out}, maker), 2) << out;
  }
  EXPECT_EQ(TemporaryDirectory::ReadBytes(table), "T,docs\r\nd t,2\r\n");
  EXPECT_EQ(core::RunRenderFace({table, "--share", "docs", "--out", table + ".png"}, maker), 0);
}

}  // namespace
