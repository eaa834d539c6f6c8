#include "platform/server_sessions.h"

#include <array>

namespace platform {

const char* ServerReadOutcomeName(ServerReadOutcome outcome) {
  static constexpr std::array<const char*, 4> kNames{"read", "access_denied", "no_service", "failed"};
  return kNames.at(static_cast<std::size_t>(outcome));
}

const char* ProtectionDegreeName(ProtectionDegree degree) {
  static constexpr std::array<const char*, 5> kNames{"unknown", "none", "partial", "full", "anonymous"};
  return kNames.at(static_cast<std::size_t>(degree));
}

}  // namespace platform
