// sharemon.exe and sharemon.com: the program on Windows. Its command-line faces are
// "--list-shares", "--probe NAME", "--poll", "--render", "--help" and "--version"; without
// options it shows the main window (winshell/), with its files in the data directory, and a
// first argument that is no option names a table file that the window opens, as on Linux. Arguments are read as
// wide characters, so a Cyrillic share name arrives whole whatever the code pages are; the
// output and the exit codes are those of the Linux program (core/command_faces.h); another
// option is refused with the usage.
#include <windows.h>

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "console/history_picture.h"
#include "console/parent_console.h"
#include "core/command_faces.h"
#include "core/headless_run.h"
#include "core/poll_options.h"
#include "core/program_help.h"
#include "core/render_face.h"
#include "platform/cancel_signal.h"
#include "platform/data_directory.h"
#include "platform/share_list.h"
#include "platform/stop_signals.h"
#include "platform/system_text.h"
#include "winshell/main_window.h"

namespace {

constexpr core::PollOptionSet kPollOptions = core::PollOptionSet::kWithoutMetrics;

std::string UsageText() {
  return "usage: sharemon [TABLEFILE]\n"
         "       sharemon --list-shares\n"
         "       sharemon --probe NAME\n"
         "       sharemon " + core::PollUsageLine(kPollOptions) + "\n"
         "       sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]\n"
         "       sharemon --help | --version\n";
}

constexpr char kAfterPollOptions[] =
    "\nThe data directory is the program's own folder; a copy installed under Program Files uses\n"
    "the user's application data folder (%APPDATA%\\sharemon). The table files are named\n"
    "list_<date>_<time>.txt after the start of their run, are written again after every tick,\n"
    "and a new one begins at local midnight. The first tick comes at once. Ctrl+C, Ctrl+Break or\n"
    "closing the console ends the run and writes its file. Log lines go to standard error.\n";

// "sharemon --poll: " + the problem, a line for standard error.
std::string Fail(const std::string& problem) {
  // Appended rather than "literal" + string: GCC 12 at -O3 takes the latter for an overlapping copy.
  std::string line = "sharemon --poll: ";
  line += problem;
  return line + "\n";
}

int Usage() { return core::PrintFaceOutput({2, "", UsageText()}); }

int Help() {
  const std::string help = core::ProgramHelp(
      {{core::HelpFace::kWindow, core::HelpFace::kPoll, core::HelpFace::kListShares, core::HelpFace::kProbe,
        core::HelpFace::kRender},
       kPollOptions, "",
       platform::DataDirectoryHelp()});
  return core::PrintFaceOutput({0,
                                help + "Polling without a window (--poll):\n" + core::PollOptionsHelp(kPollOptions) +
                                    kAfterPollOptions,
                                ""});
}

int ListShares(int argc) {
  if (argc != 2) return Usage();
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  return core::PrintFaceOutput(core::ListSharesOutput(shares));
}

int Probe(int argc, wchar_t* argv[]) {
  if (argc != 3) return core::PrintFaceOutput(core::ProbeUsage());
  core::ConsoleShareProber prober;
  return core::PrintFaceOutput(core::ProbeOutput(platform::ProgramText(argv[2]), prober));
}

// The arguments from the first on, in UTF-8.
std::vector<std::string> Utf8Arguments(int first, int argc, wchar_t* argv[]) {
  std::vector<std::string> arguments;
  for (int i = first; i < argc; ++i) arguments.push_back(platform::Utf8FromWide(argv[i]));
  return arguments;
}

int Poll(int argc, wchar_t* argv[]) {
  const std::vector<std::string> arguments = Utf8Arguments(1, argc, argv);
  const auto read = core::ReadPollArguments(arguments, kPollOptions);
  if (const auto* problem = std::get_if<std::string>(&read)) return core::PrintFaceOutput({2, "", Fail(*problem)});
  const auto& given = std::get<core::PollArguments>(read);
  if (given.help) {
    return core::PrintFaceOutput(
        {0, UsageText() + "\nOptions of --poll:\n" + core::PollOptionsHelp(kPollOptions) + kAfterPollOptions, ""});
  }
  // Lives as long as the process: a stop request may come at any moment, even during exit.
  static auto* stop = new platform::CancelSignal;
  platform::CancelOnStopRequests(*stop);
  core::HeadlessSettings settings;
  try {
    settings = core::PollSettings(given.texts, platform::ProgramDataDirectory(platform::ProgramDirectory()));
  } catch (const rtl::Exception& error) {
    return core::PrintFaceOutput({2, "", Fail(rtl::Utf8FromWindows1251(error.what()))});
  }
  core::RunListener listener;
  core::StandardErrorLog log;
  return core::PollUntilStopped(settings, *stop, listener, log);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  console::UseParentConsole();
  const std::wstring_view face = argc > 1 ? argv[1] : L"";
  if (face == L"--help" || face == L"-h") return Help();
  if (face == L"--version") return core::PrintFaceOutput(core::VersionOutput());
  if (face == L"--list-shares") return ListShares(argc);
  if (face == L"--probe") return Probe(argc, argv);
  if (face == L"--poll") return Poll(argc, argv);
  if (face == L"--render") return core::RunRenderFace(Utf8Arguments(0, argc, argv), console::HistoryPicturePng);
  if (face.starts_with(L"-")) return Usage();
  return winshell::RunMainWindow({argv, argv + argc}, platform::ProgramDataDirectory(platform::ProgramDirectory()));
}
