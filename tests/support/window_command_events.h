// Drives every command of a window by its native events: each event is fired in turn and what
// its command shows is waited for. A command that no event of the list runs fails the test, so
// a new command fails each window's test until that window maps it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <span>

#include "core/window/window_command.h"

namespace window_command_events {

struct Event {
  core::WindowCommand command;
  const char* what;             // the native event, named in a failure
  std::function<void()> fire;   // sends the event as the window gets it
  std::function<bool()> shown;  // holds once the command has run
};

// `wait` runs the window's loop until its argument holds, and is false when it never does.
inline void FireEach(std::span<const Event> events, const std::function<bool(const std::function<bool()>&)>& wait) {
  for (int c = 0; c < core::kWindowCommandCount; ++c) {
    const auto runs = [c](const Event& event) { return static_cast<int>(event.command) == c; };
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), runs)) << "command " << c << " has no event of the window";
  }
  for (const Event& event : events) {
    event.fire();
    EXPECT_TRUE(wait(event.shown)) << event.what;
  }
}

}  // namespace window_command_events
