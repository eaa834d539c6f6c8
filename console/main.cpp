// sharemon.exe and sharemon.com: the program on Windows. Its command line is the Linux
// program's (core/program_faces.h); here are the parts that are Windows' own: the window of
// winshell/, with its files in the data directory, the picture drawn through GDI, and the
// headless run, which serves no metrics. Arguments are read as wide characters, so a Cyrillic
// share name arrives whole whatever the code pages are.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "console/history_picture.h"
#include "console/parent_console.h"
#include "core/command_faces.h"
#include "core/program_faces.h"
#include "platform/cancel_signal.h"
#include "platform/data_directory.h"
#include "platform/standard_streams.h"
#include "platform/stop_signals.h"
#include "platform/system_text.h"
#include "rtl/file_name.h"
#include "winshell/main_window.h"

namespace {

int ShowWindow(const wchar_t* program, const std::optional<std::string>& table_file) {
  std::vector<std::wstring> arguments{program};
  if (table_file) arguments.push_back(rtl::PathFromUtf8(*table_file).wstring());
  return winshell::RunMainWindow(arguments, platform::ProgramDataDirectory(platform::ProgramDirectory()));
}

int Poll(const core::HeadlessSettings& settings, const core::PollArguments& arguments) {
  if (arguments.metrics && arguments.metrics_address) {
    platform::WriteErrorLine(core::FaceLine("--poll", "--metrics: the Windows program serves no metrics"));
    return 2;
  }
  // Lives as long as the process: a stop request may come at any moment, even during exit.
  static auto* stop = new platform::CancelSignal;
  platform::CancelOnStopRequests(*stop);
  core::RunListener listener;
  core::StandardErrorLog log;
  return core::PollUntilStopped(settings, *stop, listener, log);
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  console::UseParentConsole();
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(platform::Utf8FromWide(argv[i]));
  const core::SystemFaces windows_faces{
      [&](const std::optional<std::string>& table_file) { return ShowWindow(argv[0], table_file); },
      console::HistoryPicturePng,
      Poll,
  };
  return core::RunCommandLine(arguments, windows_faces);
}
