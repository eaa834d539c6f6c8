#include "app/share_enumeration.h"

#include <cstdio>

#include "app/list_box.h"
#include "platform/share_list.h"

void EnumerateShares(TListBox& target) {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  target.SetEntries(shares);
}

int RunListShares(int /*argc*/, char* /*argv*/[]) {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  for (const auto& name : shares) std::printf("%s\n", rtl::Utf8FromWindows1251(name).c_str());
  return 0;
}
