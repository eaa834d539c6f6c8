#include "core/command_faces.h"

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/program_faces.h"
#include "core/watch_list_file.h"
#include "platform/standard_streams.h"

namespace core {
namespace {

// The test interval when the variable holds a positive decimal number.
std::optional<std::chrono::milliseconds> TestInterval() {
  const char* value = std::getenv(kTestIntervalVariable);
  if (value == nullptr || *value == '\0') return std::nullopt;
  char* end = nullptr;
  const long long milliseconds = std::strtoll(value, &end, 10);
  if (*end != '\0' || milliseconds <= 0) return std::nullopt;
  return std::chrono::milliseconds(milliseconds);
}

}  // namespace

FaceOutput ListSharesOutput(const rtl::StringList& shares) {
  FaceOutput output;
  for (const auto& name : shares) output.out += rtl::Utf8FromWindows1251(name) + "\n";
  return output;
}

FaceOutput ProbeOutput(const rtl::Text& share, ShareProber& prober) {
  const platform::CancelSignal never;
  const ProbeResult result = prober.Probe(share, never);
  // Whatever the polling run counts as a failed probe fails here too, with its reason.
  if (!result.Counted()) {
    const std::string reason =
        result.error.empty() ? ProbeOutcomeName(result.outcome) : rtl::Utf8FromWindows1251(result.error);
    return {1, "", reason + "\n"};
  }
  rtl::Text names;
  for (const auto& name : result.users) names += (names.empty() ? "" : " ") + name;
  return {0, std::to_string(result.count) + "\t" + rtl::Utf8FromWindows1251(names) + "\n", ""};
}

int PrintFaceOutput(const FaceOutput& output) {
  platform::Write(platform::Stream::kOut, output.out);
  platform::Write(platform::Stream::kError, output.error);
  return output.exit_code;
}

HeadlessSettings PollSettings(const PollOptionTexts& options, const std::filesystem::path& program_directory) {
  HeadlessSettings settings;
  settings.watch_list_file = options.watch_list_file.value_or(program_directory / kWatchListFileName);
  settings.output_directory = options.output_directory.value_or(program_directory);
  try {
    settings.interval = PollMinutes(options.interval_minutes);
  } catch (const rtl::Exception& error) {
    throw PollOptionError("--interval", error.what());
  }
  if (const auto test_interval = TestInterval()) settings.interval = *test_interval;
  return settings;
}

int PollUntilStopped(const HeadlessSettings& settings, const platform::CancelSignal& stop, RunListener& listener,
                     RunLog& log) {
  SystemClock clock;
  ConsoleShareProber prober;
  SignalPause pause(stop);
  try {
    HeadlessRun(settings, {clock, prober, stop, pause, listener, log}).Run();
    return 0;
  } catch (const std::exception& error) {
    log.Line(FaceLine("--poll", rtl::Utf8FromWindows1251(error.what())));
    return 1;
  }
}

PollOptionError::PollOptionError(const rtl::Text& option, const rtl::Text& reason)
    : rtl::Exception(option + ": " + reason) {}

}  // namespace core
