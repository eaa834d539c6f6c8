#include "core/program_faces.h"

#include <variant>

#include "core/command_faces.h"
#include "core/server_faces.h"
#include "core/share_probe.h"
#include "core/version.h"
#include "platform/contracts.h"
#include "platform/data_directory.h"
#include "platform/share_list.h"
#include "platform/standard_streams.h"

namespace core {
namespace {

using Arguments = std::vector<std::string>;

constexpr char kWhatItDoes[] =
    "Watches how many users are connected to the shares of this computer's file server: keeps a\n"
    "watch list, polls every watched share at a set interval, keeps a table of the counts, saves it\n"
    "as a comma-separated text file and charts one share's history.\n"
    "\n"
    "Without options the window opens (its interface is in Russian); a TABLEFILE is loaded as its\n"
    "command \"Загрузить файл\" loads one.\n"
    "\n";

std::string FilesAndUsers() {
  return "Files: the watch list splist.txt and the table files list_<date>_<time>.txt lie in the data\n"
         "directory: beside the program when it runs from a folder of its own; for an installed copy\n"
         "the user's data directory, ~/.local/share/sharemon on Linux, %APPDATA%\\sharemon on Windows.\n"
         "\n"
         "The users of a share come on Linux from the status service sharemond, which only the members\n"
         "of its group (" + std::string(platform::contracts::kStatusGroup) +
         ") may ask (netshare NAME prints the report it gives for one share), on\n"
         "Windows from the system's report of net share NAME.\n"
         "\n";
}

// The operands of a face that takes no options, or the problem.
std::variant<Arguments, std::string> ReadOperands(const Arguments& arguments, const rtl::Operands& wanted) {
  struct None {};
  auto read = rtl::ReadOptions(std::vector<rtl::Option<None>>{}, arguments, wanted);
  if (auto* problem = std::get_if<std::string>(&read)) return std::move(*problem);
  return std::move(std::get<rtl::ReadArguments<None>>(read).operands);
}

int RunWindow(const Arguments& arguments, const SystemFaces& system) {
  const auto operands = ReadOperands(arguments, {"TABLEFILE", 0, 1});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("", *problem);
  const Arguments& table_file = std::get<Arguments>(operands);
  return system.window(table_file.empty() ? std::nullopt : std::optional(table_file[0]));
}

// The watch list and the table files default to the data directory, which is asked for only
// then: with --watch and --out given (as by the service unit, whose user's home may be
// read-only) none is made.
int RunPoll(const Arguments& arguments, const SystemFaces& system) {
  const auto read = ReadPollArguments(arguments);
  if (const auto* problem = std::get_if<std::string>(&read)) return RefuseCommandLine("--poll", *problem);
  const PollArguments& given = std::get<PollArguments>(read);
  if (given.help) {
    return PrintFaceOutput({0, "Usage: sharemon " + PollUsageLine() +
                                   "\n\nPolls the watched shares without a window and, on Linux, serves metrics.\n"
                                   "\nOptions:\n" + PollHelp(), ""});
  }
  const std::filesystem::path program_directory = platform::ProgramDirectory();
  const bool defaults = !given.texts.watch_list_file || !given.texts.output_directory;
  HeadlessSettings settings;
  try {
    settings = PollSettings(given.texts, defaults ? platform::ProgramDataDirectory(program_directory) : program_directory);
  } catch (const rtl::Exception& error) {
    platform::WriteErrorLine(FaceLine("--poll", rtl::Utf8FromWindows1251(error.what())));
    return 2;
  }
  return system.poll(settings, given);
}

int RunListShares(const Arguments& arguments, const SystemFaces&) {
  const auto operands = ReadOperands(arguments, {});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("--list-shares", *problem);
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  return PrintFaceOutput(ListSharesOutput(shares));
}

int RunProbe(const Arguments& arguments, const SystemFaces&) {
  const auto operands = ReadOperands(arguments, {"NAME", 1, 1});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("--probe", *problem);
  ConsoleShareProber prober;
  return PrintFaceOutput(ProbeOutput(rtl::Windows1251FromUtf8(std::get<Arguments>(operands)[0]), prober));
}

int RunSessions(const Arguments& arguments, const SystemFaces&) {
  const auto operands = ReadOperands(arguments, {});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("--sessions", *problem);
  return PrintFaceOutput(SessionsOutput(platform::ReadSessions()));
}

int RunOpenFiles(const Arguments& arguments, const SystemFaces&) {
  const auto operands = ReadOperands(arguments, {"SHARE", 0, 1});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("--open-files", *problem);
  const Arguments& share = std::get<Arguments>(operands);
  return PrintFaceOutput(OpenFilesOutput(platform::ReadOpenFiles(share.empty() ? "" : rtl::Windows1251FromUtf8(share[0]))));
}

int RunRender(const Arguments& arguments, const SystemFaces& system) { return RunRenderFace(arguments, system.picture); }

int RunHelp(const Arguments& arguments, const SystemFaces&) {
  const auto operands = ReadOperands(arguments, {});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("--help", *problem);
  return PrintFaceOutput({0, ProgramHelp(), ""});
}

int RunVersion(const Arguments& arguments, const SystemFaces&) {
  const auto operands = ReadOperands(arguments, {});
  if (const auto* problem = std::get_if<std::string>(&operands)) return RefuseCommandLine("--version", *problem);
  return PrintFaceOutput({0, std::string("sharemon ") + kProgramVersion + "\n", ""});
}

std::vector<Face> MakeFaces() {
  return {
      {{"", "", "", ""}, [] { return std::string("[TABLEFILE]"); }, RunWindow},
      {{"--poll", "", "",
        "poll the watch list without a window, write the table files and, on Linux, serve Prometheus "
        "metrics (its options below)"},
       PollUsageLine,
       RunPoll},
      {{"--list-shares", "", "", "print the computer's shares, one name per line"},
       [] { return std::string("--list-shares"); },
       RunListShares},
      {{"--probe", "", "NAME", "print how many users the share NAME has, a tab and their names"},
       [] { return std::string("--probe NAME"); },
       RunProbe},
      {{"--render", "", "",
        "draw the history of the share NAME in TABLEFILE as a PNG file (817x250 pixels unless --size "
        "says otherwise)"},
       RenderUsageLine,
       RunRender},
      {{"--sessions", "", "", "print the file server's sessions: a line of column names, then one tab-separated line per session"},
       [] { return std::string("--sessions"); },
       RunSessions},
      {{"--open-files", "", "", "print the files open on SHARE, or on all shares, the same way"},
       [] { return std::string("--open-files [SHARE]"); },
       RunOpenFiles},
      {{"--help", "-h", "", "print this help"}, [] { return std::string("--help"); }, RunHelp},
      {{"--version", "", "", "print the version"}, [] { return std::string("--version"); }, RunVersion},
  };
}

bool Picks(const rtl::OptionName& name, std::string_view argument) {
  return !name.name.empty() && (argument == name.name || (!name.short_name.empty() && argument == name.short_name));
}

std::string UsageLines() {
  std::string lines;
  for (const Face& face : Faces()) lines += (lines.empty() ? "Usage: sharemon " : "  or:  sharemon ") + face.usage() + "\n";
  return lines;
}

}  // namespace

const std::vector<Face>& Faces() {
  static const std::vector<Face> faces = MakeFaces();
  return faces;
}

int RunCommandLine(const std::vector<std::string>& arguments, const SystemFaces& system) {
  // A view of the argument itself: `cond ? "" : arguments[0]` would view a temporary copy.
  const std::string_view first = arguments.empty() ? std::string_view() : std::string_view(arguments[0]);
  for (const Face& face : Faces()) {
    if (Picks(face.name, first)) return face.run(Arguments(arguments.begin() + 1, arguments.end()), system);
  }
  // Mistyped in a unit or a script, an option must not silently become a window.
  if (first.starts_with('-') && first != "-") return RefuseCommandLine("", "unknown option " + std::string(first));
  return Faces().front().run(arguments, system);
}

std::string FaceLine(std::string_view face_option, std::string_view text) {
  std::string line = "sharemon";
  if (!face_option.empty()) line.append(" ").append(face_option);
  return line.append(": ").append(text);
}

int RefuseCommandLine(std::string_view face_option, std::string_view problem) {
  return PrintFaceOutput({2, "", FaceLine(face_option, problem) + "\n" + UsageLines()});
}

std::string ProgramHelp() {
  std::vector<rtl::OptionName> names;
  for (const Face& face : Faces()) names.push_back(face.name);
  return UsageLines() + "\n" + kWhatItDoes + "Options:\n" + rtl::OptionsHelp(names) + "\n" + kTabSeparatedEscaping + "\n" + FilesAndUsers() +
         "Polling without a window (--poll):\n" + PollHelp();
}

}  // namespace core
