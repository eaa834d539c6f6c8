// The readers of Samba's configuration listings ("testparm -s" and "net usershare list") on
// any bytes. Properties: "[global]" never becomes a share, every share is found by its own
// name, and no name spans lines.
#include <cstdint>

#include "fuzz/property.h"
#include "platform/samba_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view output(reinterpret_cast<const char*>(data), size);
  const auto shares = platform::ParseTestparmOutput(output);
  for (const auto& share : shares) {
    fuzz::Require(share.name.find('\n') == std::string::npos, "a share name is one line");
    fuzz::Require(platform::FindSambaShare(shares, share.name) != nullptr, "a share is found by its name");
  }
  fuzz::Require(platform::FindSambaShare(shares, "GLOBAL") == nullptr, "[global] is no share");
  for (const auto& name : platform::ParseUsershareList(output)) {
    fuzz::Require(!name.empty() && name.find('\n') == std::string::npos, "a user share name is one non-empty line");
  }
  return 0;
}
