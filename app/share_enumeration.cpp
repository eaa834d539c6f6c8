#include "app/share_enumeration.h"

#include "app/list_box.h"
#include "core/command_faces.h"
#include "platform/share_list.h"

void EnumerateShares(TListBox& target) {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  target.SetEntries(shares);
}

int RunListShares(int /*argc*/, char* /*argv*/[]) {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  return core::PrintFaceOutput(core::ListSharesOutput(shares));
}
