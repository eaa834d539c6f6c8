// The lines of a face's tab-separated output split into their fields, an empty last field kept.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> TabSeparatedRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  bool line_start = true;
  for (const char c : text) {
    if (line_start) rows.emplace_back(1);
    line_start = c == '\n';
    if (c == '\t') {
      rows.back().emplace_back();
    } else if (c != '\n') {
      rows.back().back().push_back(c);
    }
  }
  return rows;
}
