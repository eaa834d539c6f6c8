// The display-less face of the history chart, the same on Linux and Windows:
//   sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]
// loads a table file as "Загрузить файл" does, reads the share's history as the window's
// click does, has the shell draw it on an off-screen Chart1 (817 x 250 unless --size says
// otherwise) as a PNG, and writes the picture through the one file writer.
#pragma once

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "core/share_history.h"
#include "rtl/text.h"

namespace core {

// The arguments of the face, as given (UTF-8 file names and share name).
struct RenderRequest {
  std::string table_file;
  std::string share;
  std::string out_file;
  int width = 817;
  int height = 250;
};

// Reads the arguments after "--render" (sides 1..16384) by the face's option table; the
// problem in the table's words (rtl/option_table.h) otherwise.
std::variant<RenderRequest, std::string> ReadRenderArguments(const std::vector<std::string>& arguments);

// "--render TABLEFILE --share NAME --out FILE.png [--size WxH]".
std::string RenderUsageLine();

// What the shell draws: `share`'s history (title and share in Windows-1251) on a chart of
// width x height, a first count that is no integer told to `notice` as the window's NoticeBox
// would. `out_file` (program text) names the picture in the error an encoder failure throws
// (rtl::FileCreateError).
struct HistoryPicture {
  rtl::Text share;
  ShareHistory history;
  int width = 0;
  int height = 0;
  rtl::Text out_file;
  std::function<void(const rtl::Text&)> notice;
};
// The picture as the bytes of a PNG file; throws what drawing the history throws.
using PictureMaker = std::function<std::string(HistoryPicture& picture)>;

// Runs the face on the arguments after "--render". Exit code 0 with the PNG written; 1 after a
// file or data error, whose error-box text goes to standard error (after any notice) and no PNG
// is written; 2 for unusable arguments (refused as core/program_faces.h refuses them), and for
// an --out that names the table file itself (by any path, link or, on Windows, case), which
// stays untouched.
int RunRenderFace(const std::vector<std::string>& arguments, const PictureMaker& make_picture);

}  // namespace core
