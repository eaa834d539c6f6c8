// A small Windows console program that exercises the Windows side of the platform layer:
// lists the computer's shares through NETAPI32.DLL and, given a share name, runs the share
// query command for it and prints the users section's raw report in the window code page.
// Built only by scripts/build-windows with mingw-w64.
#include <cstdio>
#include <exception>

#include "platform/console_command.h"
#include "platform/share_list.h"
#include "platform/share_query_command.h"
#include "rtl/console_text.h"

int main(int argc, char* argv[]) {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  for (const auto& name : shares) std::printf("%s\n", name.c_str());
  if (argc < 2) return 0;
  try {
    const auto result =
        platform::RunConsoleCommand(platform::ShareQueryCommand(argv[1]), platform::ShareQueryDirectory());
    std::printf("%s\nexit code %lu\n", rtl::ConvertConsoleText(result.output).c_str(),
                static_cast<unsigned long>(result.exit_code));
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
