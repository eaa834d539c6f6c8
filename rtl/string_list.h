// The string list: an ordered list of texts, duplicates allowed, unsorted, with a text form of
// one entry per line, the bytes of its file (the caller reads and writes the file). The watch
// list, the list boxes' entries and the accumulated users list are string lists.
#pragma once

#include <string_view>
#include <vector>

#include "rtl/text.h"

namespace rtl {

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<Text> entries) : entries_(entries) {}

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  // Entry access; an index outside 0..Count()-1 throws ListIndexError with that index.
  const Text& operator[](int index) const;
  void Set(int index, const Text& entry);
  // Returns the index of the new entry.
  int Add(const Text& entry);
  void AddStrings(const StringList& other);
  void Insert(int index, const Text& entry);  // index may equal Count()
  void Delete(int index);
  void Clear() { entries_.clear(); }
  // Index of the first entry equal to `entry` (case-sensitive, byte compare), or -1.
  int IndexOf(const Text& entry) const;

  // The entries each followed by CR LF: the bytes of the list's file.
  Text GetText() const;
  // Replaces the entries by the lines of `text`: a line ends at CR LF, at a lone LF or at a
  // lone CR; the last line needs no line end; an empty line becomes an empty entry; the text
  // ends at its first NUL byte.
  void SetText(std::string_view text);

  std::vector<Text>::const_iterator begin() const { return entries_.begin(); }
  std::vector<Text>::const_iterator end() const { return entries_.end(); }
  const std::vector<Text>& Entries() const { return entries_; }
  bool operator==(const StringList&) const = default;

 private:
  std::vector<Text> entries_;
};

}  // namespace rtl
