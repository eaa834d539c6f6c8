// A start that the system lost is tried again, any other failure is final at once.
#include "platform/process_start.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct StartCase {
  const char* name;
  std::vector<DWORD> errors;  // one per attempt; ERROR_SUCCESS starts the child
  BOOL started;
  size_t attempts;
  DWORD last_error;
};

TEST(process_start_windows_test, only_lost_children_are_started_again) {
  const StartCase cases[] = {
      {"first start", {ERROR_SUCCESS}, TRUE, 1, ERROR_SUCCESS},
      {"lost twice, then started", {ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR, ERROR_SUCCESS}, TRUE, 3, ERROR_SUCCESS},
      {"lost every time", {ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR, ERROR_SUCCESS}, FALSE, 3,
       ERROR_INTERNAL_ERROR},
      {"no such program", {ERROR_FILE_NOT_FOUND, ERROR_SUCCESS}, FALSE, 1, ERROR_FILE_NOT_FOUND},
      {"lost, then no such program", {ERROR_INTERNAL_ERROR, ERROR_FILE_NOT_FOUND, ERROR_SUCCESS}, FALSE, 2,
       ERROR_FILE_NOT_FOUND},
  };
  for (const StartCase& c : cases) {
    size_t attempts = 0;
    SetLastError(ERROR_SUCCESS);
    const BOOL started = platform::StartProcess([&] {
      const DWORD error = c.errors.at(attempts++);
      SetLastError(error);
      return error == ERROR_SUCCESS ? TRUE : FALSE;
    });
    EXPECT_EQ(started, c.started) << c.name;
    EXPECT_EQ(attempts, c.attempts) << c.name;
    if (!started) {
      EXPECT_EQ(GetLastError(), c.last_error) << c.name;
    }
  }
}

}  // namespace
