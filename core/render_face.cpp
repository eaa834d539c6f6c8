// The history chart's picture face: arguments, table, history and file; the drawing is the
// shell's.
#include "core/render_face.h"

#include <charconv>
#include <string_view>

#include "core/command_faces.h"
#include "core/table_file.h"
#include "platform/file_identity.h"
#include "platform/standard_streams.h"
#include "platform/whole_file.h"
#include "rtl/errors.h"
#include "rtl/file_name.h"

namespace core {

namespace {

constexpr char kUsage[] = "usage: sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]\n";
constexpr int kLargestSide = 16384;  // pixels; a frame beyond that is a typing error
constexpr char kPictureOverTable[] =
    " is the table file itself: the picture would replace its rows; name another file for the picture\n";

bool ParseSide(std::string_view text, int& side) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  return error == std::errc() && end == text.data() + text.size() && side > 0 && side <= kLargestSide;
}

// "WxH", both sides 1..16384.
bool ParseSize(const std::string& text, int& width, int& height) {
  const auto cross = text.find('x');
  if (cross == std::string::npos) return false;
  return ParseSide(std::string_view(text).substr(0, cross), width) &&
         ParseSide(std::string_view(text).substr(cross + 1), height);
}

void PrintToStandardError(const rtl::Text& text) { platform::WriteErrorLine(rtl::Utf8FromWindows1251(text)); }

// The picture is made whole before the file is touched, then written as every file of the
// program is, so that a failure leaves no PNG behind, or the earlier one as it was. The
// window's loader passes over a missing table file (its dialog offers only existing ones);
// here a missing file, or a name that is no regular file, is the user's error.
void Render(const RenderRequest& request, const PictureMaker& make_picture) {
  ConnectionTable table;
  ReadConnectionTable(table, rtl::PathFromUtf8(request.table_file));
  const rtl::Text share = rtl::Windows1251FromUtf8(request.share);
  RequireShareColumn(table, share, rtl::Windows1251FromUtf8(request.table_file));
  HistoryPicture picture{share,          ReadShareHistory(table, share), request.width, request.height,
                         rtl::Windows1251FromUtf8(request.out_file), PrintToStandardError};
  const std::string png = make_picture(picture);
  platform::WriteWholeFile(rtl::PathFromUtf8(request.out_file), png, platform::FileErrors::kNamingTheFile);
}

}  // namespace

std::optional<RenderRequest> ParseRenderArguments(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3 || arguments[1] != "--render") return std::nullopt;
  RenderRequest request;
  request.table_file = arguments[2];
  for (std::size_t i = 3; i < arguments.size(); i += 2) {
    if (i + 1 >= arguments.size()) return std::nullopt;
    const std::string& option = arguments[i];
    const std::string& value = arguments[i + 1];
    if (option == "--share") {
      request.share = value;
    } else if (option == "--out") {
      request.out_file = value;
    } else if (option != "--size" || !ParseSize(value, request.width, request.height)) {
      return std::nullopt;
    }
  }
  if (request.share.empty() || request.out_file.empty()) return std::nullopt;
  return request;
}

int RunRenderFace(const std::vector<std::string>& arguments, const PictureMaker& make_picture) {
  const std::optional<RenderRequest> request = ParseRenderArguments(arguments);
  if (!request) return PrintFaceOutput({2, "", kUsage});
  // One slip on the command line must not put a picture in place of the rows it was drawn from.
  if (platform::IsSameFile(rtl::PathFromUtf8(request->table_file), rtl::PathFromUtf8(request->out_file))) {
    return PrintFaceOutput({2, "", "sharemon --render: --out " + request->out_file + kPictureOverTable});
  }
  try {
    Render(*request, make_picture);
  } catch (const std::exception& error) {
    PrintToStandardError(rtl::ErrorMessageForBox(error.what()));
    return 1;
  }
  return 0;
}

}  // namespace core
