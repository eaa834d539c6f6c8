#include "app/user_probe.h"

#include <cstdio>

#include "core/share_probe.h"
#include "platform/cancel_signal.h"
#include "rtl/text.h"

int RunProbe(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sharemon --probe NAME\n");
    return 2;
  }
  core::ConsoleShareProber prober;
  const platform::CancelSignal never;
  const core::ProbeResult result = prober.Probe(rtl::Windows1251FromUtf8(argv[2]), never);
  if (!result.HasReport()) {
    std::fprintf(stderr, "%s\n", rtl::Utf8FromWindows1251(result.error).c_str());
    return 1;
  }
  rtl::Text names;
  for (const auto& name : result.users) names += (names.empty() ? "" : " ") + name;
  std::printf("%d\t%s\n", result.count, rtl::Utf8FromWindows1251(names).c_str());
  return 0;
}
