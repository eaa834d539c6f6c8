// The picture face's arguments: what --render reads on Linux and Windows alike.
#include "core/render_face.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temporary_directory.h"

namespace {

using core::ParseRenderArguments;
using Arguments = std::vector<std::string>;

TEST(RenderArgumentsTest, FullForm) {
  const auto request = ParseRenderArguments(
      {"sharemon", "--render", "list.txt", "--share", "docs", "--out", "a.png", "--size", "400x300"});
  ASSERT_TRUE(request);
  EXPECT_EQ(request->table_file, "list.txt");
  EXPECT_EQ(request->share, "docs");
  EXPECT_EQ(request->out_file, "a.png");
  EXPECT_EQ(request->width, 400);
  EXPECT_EQ(request->height, 300);
}

TEST(RenderArgumentsTest, SizeDefaultsToChart1) {
  const auto request = ParseRenderArguments({"sharemon", "--render", "t", "--out", "a.png", "--share", "d"});
  ASSERT_TRUE(request);
  EXPECT_EQ(request->width, 817);
  EXPECT_EQ(request->height, 250);
}

TEST(RenderArgumentsTest, UnusableArgumentsAreRefused) {
  const Arguments refused[] = {
      {"sharemon", "--render"},
      {"sharemon", "--render", "t", "--share", "d"},
      {"sharemon", "--render", "t", "--out", "a.png"},
      {"sharemon", "--render", "t", "--share", "d", "--out"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--size", "400"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--size", "0x10"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--size", "10x10px"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--colour", "red"},
  };
  for (const Arguments& arguments : refused) EXPECT_FALSE(ParseRenderArguments(arguments)) << arguments.size();
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
    EXPECT_EQ(core::RunRenderFace({"sharemon", "--render", table, "--share", "docs", "--out", out}, maker), 2) << out;
  }
  EXPECT_EQ(TemporaryDirectory::ReadBytes(table), "T,docs\r\nd t,2\r\n");
  EXPECT_EQ(core::RunRenderFace({"sharemon", "--render", table, "--share", "docs", "--out", table + ".png"}, maker), 0);
}

}  // namespace
