// sharemon.exe: the program's command-line faces on Windows, without the window (Qt has no
// Windows build here): "--list-shares", "--probe NAME" and "--poll". Arguments are read as
// wide characters, so a Cyrillic share name arrives whole whatever the code pages are; the
// output and the exit codes are those of the Linux program (core/command_faces.h).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "console/system_text.h"
#include "core/command_faces.h"
#include "core/headless_run.h"
#include "platform/cancel_signal.h"
#include "platform/share_list.h"
#include "platform/standard_streams.h"
#include "platform/stop_signals.h"

namespace {

constexpr char kUsage[] =
    "usage: sharemon --list-shares\n"
    "       sharemon --probe NAME\n"
    "       sharemon --poll [--watch FILE] [--interval N] [--out DIR]\n";

constexpr char kPollHelp[] =
    "The watched shares (--watch, default splist.txt beside the program) are polled every N\n"
    "minutes (--interval, at least 1, default 30). The table files are named\n"
    "list_<date>_<time>.txt after the start of their run, go to --out (default: beside the\n"
    "program), are written again after every tick, and a new one begins at local midnight.\n"
    "The first tick comes at once. Ctrl+C, Ctrl+Break or closing the console ends the run and\n"
    "writes its file. Log lines go to standard error.\n";

int Usage() { return core::PrintFaceOutput({2, "", kUsage}); }

int ListShares(int argc) {
  if (argc != 2) return Usage();
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  return core::PrintFaceOutput(core::ListSharesOutput(shares));
}

int Probe(int argc, wchar_t* argv[]) {
  if (argc != 3) return core::PrintFaceOutput(core::ProbeUsage());
  core::ConsoleShareProber prober;
  return core::PrintFaceOutput(core::ProbeOutput(console::ProgramText(argv[2]), prober));
}

// Puts one "--name VALUE" or "--name=VALUE" option into `texts`; moves `index` past it.
// False for an unknown option or a missing value.
bool ReadPollOption(int argc, wchar_t* argv[], int& index, core::PollOptionTexts& texts) {
  std::wstring_view argument = argv[index];
  std::optional<std::wstring_view> value;
  if (const auto equals = argument.find(L'='); equals != std::wstring_view::npos) {
    value = argument.substr(equals + 1);
    argument = argument.substr(0, equals);
  } else if (index + 1 < argc) {
    value = argv[++index];
  }
  if (!value) return false;
  if (argument == L"--watch") {
    texts.watch_list_file = std::filesystem::path(*value);
  } else if (argument == L"--out") {
    texts.output_directory = std::filesystem::path(*value);
  } else if (argument == L"--interval") {
    texts.interval_minutes = console::ProgramText(*value);
  } else {
    return false;
  }
  return true;
}

// The run's options, or nothing after a message on standard error.
std::optional<core::PollOptionTexts> ReadPollOptions(int argc, wchar_t* argv[]) {
  core::PollOptionTexts texts;
  for (int index = 2; index < argc; ++index) {
    const int first = index;
    if (!ReadPollOption(argc, argv, index, texts)) {
      // Appended rather than "literal" + string: GCC 12 at -O3 takes the latter for an overlapping copy.
      std::string message = "sharemon --poll: unknown option or missing value: ";
      message += console::Utf8FromWide(argv[first]);
      platform::WriteErrorLine(message);
      return std::nullopt;
    }
  }
  return texts;
}

int Poll(int argc, wchar_t* argv[]) {
  if (argc == 3 && std::wstring_view(argv[2]) == L"--help") return core::PrintFaceOutput({0, std::string(kUsage) + kPollHelp, ""});
  // Lives as long as the process: a stop request may come at any moment, even during exit.
  static auto* stop = new platform::CancelSignal;
  platform::CancelOnStopRequests(*stop);
  const std::optional<core::PollOptionTexts> texts = ReadPollOptions(argc, argv);
  if (!texts) return 2;
  core::HeadlessSettings settings;
  try {
    settings = core::PollSettings(*texts, console::ProgramDirectory());
  } catch (const rtl::Exception& error) {
    std::string message = "sharemon --poll: ";
    message += rtl::Utf8FromWindows1251(error.what());
    return core::PrintFaceOutput({2, "", message + "\n"});
  }
  core::RunListener listener;
  core::StandardErrorLog log;
  return core::PollUntilStopped(settings, *stop, listener, log);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  const std::wstring_view face = argc > 1 ? argv[1] : L"";
  if (face == L"--list-shares") return ListShares(argc);
  if (face == L"--probe") return Probe(argc, argv);
  if (face == L"--poll") return Poll(argc, argv);
  return Usage();
}
