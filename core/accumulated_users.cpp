#include "core/accumulated_users.h"

namespace core {

void AccumulatedUsers::Add(const std::vector<rtl::Text>& names) {
  names_.insert(names_.end(), names.begin(), names.end());
  while (names_.size() > kLimit) names_.pop_front();
}

rtl::StringList AccumulatedUsers::Take() {
  rtl::StringList taken;
  for (const rtl::Text& name : names_) taken.Add(name);
  names_.clear();
  return taken;
}

}  // namespace core
