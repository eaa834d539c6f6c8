// The log line writer, with standard error on a packet socket, where every write(2) arrives as
// one packet: a line must come whole, line end included, also from several threads at once.
#include "platform/standard_streams.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(standard_streams_test, each_log_line_is_one_write_with_its_line_end) {
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends), 0);
  const int saved = dup(STDERR_FILENO);
  dup2(ends[0], STDERR_FILENO);
  std::set<std::string> expected = {"sharemond: Пуск\n"};
  std::vector<std::thread> threads;
  for (const char c : {'a', 'b', 'c', 'd'}) {
    expected.insert(std::string(3000, c).append(1, '\n'));
    threads.emplace_back([c] { platform::WriteErrorLine(std::string(3000, c)); });
  }
  for (auto& thread : threads) thread.join();
  platform::WriteErrorLine("sharemond: Пуск");
  dup2(saved, STDERR_FILENO);

  std::multiset<std::string> packets;
  std::string buffer(1 << 16, '\0');
  for (ssize_t size; (size = recv(ends[1], buffer.data(), buffer.size(), MSG_DONTWAIT)) >= 0;) {
    packets.emplace(buffer.data(), static_cast<std::size_t>(size));
  }
  EXPECT_EQ(packets, std::multiset<std::string>(expected.begin(), expected.end()));
  for (const int fd : {saved, ends[0], ends[1]}) close(fd);
}

}  // namespace
