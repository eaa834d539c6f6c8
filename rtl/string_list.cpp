#include "rtl/string_list.h"

#include <algorithm>

#include "rtl/errors.h"

namespace rtl {

const Text& StringList::operator[](int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  return entries_[static_cast<std::size_t>(index)];
}

void StringList::Set(int index, const Text& entry) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  entries_[static_cast<std::size_t>(index)] = entry;
}

int StringList::Add(const Text& entry) {
  entries_.push_back(entry);
  return Count() - 1;
}

void StringList::AddStrings(const StringList& other) {
  entries_.insert(entries_.end(), other.entries_.begin(), other.entries_.end());
}

void StringList::Insert(int index, const Text& entry) {
  if (index < 0 || index > Count()) throw ListIndexError(index);
  entries_.insert(entries_.begin() + index, entry);
}

void StringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  entries_.erase(entries_.begin() + index);
}

int StringList::IndexOf(const Text& entry) const {
  for (int i = 0; i < Count(); ++i) {
    if (entries_[static_cast<std::size_t>(i)] == entry) return i;
  }
  return -1;
}

Text StringList::GetText() const {
  Text result;
  for (const Text& entry : entries_) result.append(entry).append("\r\n");
  return result;
}

void StringList::SetText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  entries_.clear();
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t line_end = std::min(text.find_first_of("\r\n", position), text.size());
    entries_.emplace_back(text.substr(position, line_end - position));
    position = line_end;
    if (position < text.size() && text[position] == '\r') ++position;
    if (position < text.size() && text[position] == '\n') ++position;
  }
}

}  // namespace rtl
