// The history chart's picture face: arguments, table, history and file; the drawing is the
// shell's.
#include "core/render_face.h"

#include <charconv>
#include <string_view>

#include "core/command_faces.h"
#include "core/program_faces.h"
#include "core/table_file.h"
#include "platform/file_identity.h"
#include "platform/standard_streams.h"
#include "platform/whole_file.h"
#include "rtl/errors.h"
#include "rtl/file_name.h"
#include "rtl/option_table.h"

namespace core {

namespace {

constexpr int kLargestSide = 16384;  // pixels; a frame beyond that is a typing error
constexpr char kPictureOverTable[] =
    " is the table file itself: the picture would replace its rows; name another file for the picture";

bool ParseSide(std::string_view text, int& side) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  return error == std::errc() && end == text.data() + text.size() && side > 0 && side <= kLargestSide;
}

// "WxH", both sides 1..16384.
bool ParseSize(std::string_view text, int& width, int& height) {
  const auto cross = text.find('x');
  if (cross == std::string::npos) return false;
  return ParseSide(text.substr(0, cross), width) && ParseSide(text.substr(cross + 1), height);
}

const std::vector<rtl::Option<RenderRequest>>& RenderOptions() {
  using Value = std::string_view;
  using rtl::OptionUsage;
  static const std::vector<rtl::Option<RenderRequest>> options = {
      {{"--share", "", "NAME", "", OptionUsage::kRequired}, [](RenderRequest& r, Value v) {
         r.share = v;
         return !v.empty();
       }},
      {{"--out", "", "FILE.png", "", OptionUsage::kRequired}, [](RenderRequest& r, Value v) {
         r.out_file = v;
         return !v.empty();
       }},
      {{"--size", "", "WxH", ""}, [](RenderRequest& r, Value v) { return ParseSize(v, r.width, r.height); }},
  };
  return options;
}

constexpr rtl::Operands kTableFile{"TABLEFILE", 1, 1};

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

std::variant<RenderRequest, std::string> ReadRenderArguments(const std::vector<std::string>& arguments) {
  auto read = rtl::ReadOptions(RenderOptions(), arguments, kTableFile);
  if (auto* problem = std::get_if<std::string>(&read)) return std::move(*problem);
  auto& given = std::get<rtl::ReadArguments<RenderRequest>>(read);
  given.options.table_file = given.operands[0];
  return std::move(given.options);
}

std::string RenderUsageLine() { return "--render " + rtl::UsageOf(rtl::NamesOf(RenderOptions()), kTableFile); }

int RunRenderFace(const std::vector<std::string>& arguments, const PictureMaker& make_picture) {
  const auto read = ReadRenderArguments(arguments);
  if (const auto* problem = std::get_if<std::string>(&read)) return RefuseCommandLine("--render", *problem);
  const RenderRequest& request = std::get<RenderRequest>(read);
  // One slip on the command line must not put a picture in place of the rows it was drawn from.
  if (platform::IsSameFile(rtl::PathFromUtf8(request.table_file), rtl::PathFromUtf8(request.out_file))) {
    platform::WriteErrorLine(FaceLine("--render", "--out " + request.out_file + kPictureOverTable));
    return 2;
  }
  try {
    Render(request, make_picture);
  } catch (const std::exception& error) {
    PrintToStandardError(rtl::ErrorMessageForBox(error.what()));
    return 1;
  }
  return 0;
}

}  // namespace core
