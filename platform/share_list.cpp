#include "platform/share_list.h"

#ifdef _WIN32
#include "platform/net_api.h"
#include "platform/system_text.h"
#else
#include "platform/samba_config.h"
#endif

namespace platform {

#ifdef _WIN32

namespace {

// Of each record only the net name is read.
template <typename Record>
void AppendNames(const NetBuffer& buffer, DWORD count, LPWSTR Record::*net_name, rtl::StringList& target) {
  const Record* records = buffer.Records<Record>();
  for (DWORD i = 0; i < count; ++i) target.Add(ProgramText(records[i].*net_name));
}

// Asks for every share at level 1 or 2 in one call (a preferred length of -1 lets the system
// size the buffer) and appends the names only when the whole list came. The buffer goes
// back to the system whatever the result, the more-data result included. Returns the
// system's result code.
DWORD AppendShareNames(const NetApi& api, DWORD level, rtl::StringList& target) {
  NetBuffer buffer(api);
  DWORD entries_read = 0;
  DWORD total_entries = 0;
  const DWORD result = api.share_enum(nullptr, level, buffer.Fill(), MAX_PREFERRED_LENGTH, &entries_read, &total_entries, nullptr);
  if (result == NERR_Success && level == 2) AppendNames(buffer, entries_read, &SHARE_INFO_2::shi2_netname, target);
  if (result == NERR_Success && level == 1) AppendNames(buffer, entries_read, &SHARE_INFO_1::shi1_netname, target);
  return result;
}

}  // namespace

void EnumerateShares(rtl::StringList& target) {
  target.Clear();
  const NetApi api = LoadNetApi();
  // Level 2 needs administrator rights; the names alone (level 1) need none.
  if (api.share_enum != nullptr && api.buffer_free != nullptr &&
      AppendShareNames(api, 2, target) == ERROR_ACCESS_DENIED) {
    AppendShareNames(api, 1, target);
  }
}

#else

void EnumerateShares(rtl::StringList& target) {
  target.Clear();
  const auto shares = ReadSambaShares();
  if (!shares) return;
  for (const auto& share : *shares) target.Add(rtl::Windows1251FromUtf8(share.name));
}

#endif

}  // namespace platform
