// Open files as a busy server lists them, for the benchmarks of their rows: paths and open times
// scrambled (so a sort moves them), 50 users on 200 computers.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/server_sessions.h"

inline std::vector<platform::OpenFileRecord> OpenFiles(int count) {
  std::vector<platform::OpenFileRecord> files;
  for (int i = 0; i < count; ++i) {
    const int scrambled = (i * 7919) % count;
    files.push_back({"docs", "Dir/File" + std::to_string(scrambled) + ".txt", "user" + std::to_string(i % 50),
                     "10.0.0." + std::to_string(i % 200), {true, i % 2 == 0, false}, "R", "",
                     std::chrono::sys_seconds(std::chrono::seconds(1'765'000'000 + scrambled))});
  }
  return files;
}
