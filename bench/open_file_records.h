// The open files of the benchmarks: `count` records of the share "docs", their paths and
// opening times in a scrambled order, spread over 50 users and 200 computers.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/server_sessions.h"

inline std::vector<platform::OpenFileRecord> OpenFileRecords(int count) {
  std::vector<platform::OpenFileRecord> files;
  for (int i = 0; i < count; ++i) {
    const int scrambled = (i * 7919) % count;
    files.push_back({"docs", "Dir/File" + std::to_string(scrambled) + ".txt", "user" + std::to_string(i % 50),
                     "10.0.0." + std::to_string(i % 200), {true, i % 2 == 0, false}, "R", "",
                     std::chrono::sys_seconds(std::chrono::seconds(1'765'000'000 + scrambled))});
  }
  return files;
}
