// The owner of a descriptor: each way it lets go closes the descriptor once, or hands it over.
#include "platform/owned_handle.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

namespace {

bool OpenInTheSystem(int descriptor) { return fcntl(descriptor, F_GETFD) != -1; }

TEST(owned_handle_test, moving_over_closes_the_earlier_release_hands_over_and_the_end_closes) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  {
    platform::Descriptor first(ends[0]);
    platform::Descriptor second(ends[1]);
    first = std::move(second);
    EXPECT_FALSE(OpenInTheSystem(ends[0]));
    EXPECT_FALSE(second.Close());  // holds nothing any more
    EXPECT_EQ(first.Release(), ends[1]);
    EXPECT_TRUE(OpenInTheSystem(ends[1]));
    first.Reset(ends[1]);
  }
  EXPECT_FALSE(OpenInTheSystem(ends[1]));
}

}  // namespace
