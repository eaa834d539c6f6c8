#include "app/user_probe.h"

#include "core/command_faces.h"

int RunProbe(int argc, char* argv[]) {
  if (argc != 3) return core::PrintFaceOutput(core::ProbeUsage());
  core::ConsoleShareProber prober;
  return core::PrintFaceOutput(core::ProbeOutput(rtl::Windows1251FromUtf8(argv[2]), prober));
}
