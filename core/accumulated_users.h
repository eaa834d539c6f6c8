// The accumulated users list: the names every probe counted, in order, duplicates kept, until
// the users view takes them. A run of a month of one-minute ticks over many shares would
// gather millions of names, so only the newest kLimit are kept; the users view then shows
// those, the oldest having dropped out.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "rtl/string_list.h"
#include "rtl/text.h"

namespace core {

class AccumulatedUsers {
 public:
  static constexpr std::size_t kLimit = 100000;

  // Appends the names in order, dropping the oldest ones past the limit.
  void Add(const std::vector<rtl::Text>& names);
  // Every name kept, oldest first; the list is empty afterwards.
  rtl::StringList Take();
  std::size_t Count() const { return names_.size(); }
  void Clear() { names_.clear(); }

 private:
  std::deque<rtl::Text> names_;
};

}  // namespace core
