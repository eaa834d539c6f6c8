#include "app/share_enumeration.h"

#include "core/command_faces.h"
#include "platform/share_list.h"

int RunListShares(int /*argc*/, char* /*argv*/[]) {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  return core::PrintFaceOutput(core::ListSharesOutput(shares));
}
