// The metrics endpoint against real clients on real sockets: the server runs in this
// thread's event loop, the clients on threads of their own.
#include "app/metrics_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <atomic>
#include <future>
#include <latch>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "core/share_metrics.h"
#include "tests/support/http_client.h"

namespace {

using namespace std::chrono_literals;

QCoreApplication& Application() {
  static int argc = 1;
  static char name[] = "metrics_server_test";
  static char* argv[] = {name, nullptr};
  static auto* application = new QCoreApplication(argc, argv);
  return *application;
}

// Runs `client` on a thread of its own while this thread serves, and returns its result.
template <typename Client>
auto WhileServing(Client client) {
  Application();
  QEventLoop loop;
  auto result = std::async(std::launch::async, [&] {
    auto value = client();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    return value;
  });
  loop.exec();
  return result.get();
}

// A page of some size, as a server with a hundred watched shares would give.
std::string LargePage() {
  std::string page = "# HELP sharemon_share_users Users.\n# TYPE sharemon_share_users gauge\n";
  for (int i = 0; i < 100; ++i) page += "sharemon_share_users{share=\"share number " + std::to_string(i) + "\"} " + std::to_string(i) + "\n";
  return page;
}

class metrics_server_test : public ::testing::Test {
 protected:
  void Start(MetricsServer::Limits limits = {}) {
    Application();
    server_ = std::make_unique<MetricsServer>([this] { ++pages_; return page_; }, limits);
    QString error;
    ASSERT_TRUE(server_->Listen(QHostAddress::LocalHost, 0, error)) << error.toStdString();
    port_ = server_->Port();
  }

  std::string page_ = LargePage();
  std::atomic<int> pages_{0};
  std::unique_ptr<MetricsServer> server_;
  int port_ = 0;
};

TEST_F(metrics_server_test, metrics_are_served_and_every_other_path_or_method_is_not_found) {
  Start();
  struct Case {
    const char* method;
    const char* target;
    int status;
  };
  const Case cases[] = {
      {"GET", "/metrics", 200},     {"GET", "/metrics?name[]=x", 200}, {"GET", "/", 404},
      {"GET", "/metrics/", 404},    {"GET", "/metricsx", 404},         {"GET", "/../metrics/x", 404},
      {"POST", "/metrics", 404},    {"GET", "/favicon.ico", 404},
  };
  for (const Case& c : cases) {
    const HttpResponse response = WhileServing([&] { return HttpRequest(port_, c.method, c.target); });
    EXPECT_EQ(response.status, c.status) << c.method << " " << c.target;
    if (c.status != 200) continue;
    EXPECT_EQ(response.body, page_);
    EXPECT_NE(response.headers.find(std::string("Content-Type: ") + core::kExpositionContentType + "\r\n"), std::string::npos)
        << response.headers;
  }
}

TEST_F(metrics_server_test, fifty_concurrent_scrapes_are_all_served_in_full) {
  Start();
  constexpr int kClients = 50;
  const auto responses = WhileServing([this] {
    std::vector<HttpResponse> answers(kClients);
    std::latch all_connected(kClients);
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i) {
      clients.emplace_back([&, i] {
        const int fd = ConnectLocal(port_);
        all_connected.arrive_and_wait();  // every connection is open before any request goes
        if (fd < 0) return;
        if (SendAll(fd, "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")) answers[i] = ReadResponse(fd);
        close(fd);
      });
    }
    for (auto& client : clients) client.join();
    return answers;
  });
  for (int i = 0; i < kClients; ++i) {
    EXPECT_EQ(responses[i].status, 200) << "client " << i;
    EXPECT_EQ(responses[i].body, page_) << "client " << i;
  }
  EXPECT_EQ(pages_.load(), kClients);
}

TEST_F(metrics_server_test, a_silent_client_or_an_unending_head_is_cut_off_while_others_are_served) {
  struct Case {
    const char* what;
    MetricsServer::Limits limits;  // each time limit alone closes the connection
    std::string sent;
  };
  const Case cases[] = {
      {"silent", {.idle_time = 300ms, .head_time = 1h}, ""},
      {"a head that does not end", {.idle_time = 1h, .head_time = 300ms}, "GET /metr"},
  };
  for (const Case& c : cases) {
    Start(c.limits);
    const auto [closed, statuses] = WhileServing([&] {
      const int fd = ConnectLocal(port_);
      SendAll(fd, c.sent);
      std::vector<int> scrapes;
      for (int i = 0; i < 5; ++i) scrapes.push_back(HttpGet(port_, "/metrics").status);
      const bool cut_off = ClosedByPeer(fd, 10s);
      close(fd);
      return std::pair(cut_off, scrapes);
    });
    EXPECT_TRUE(closed) << c.what;
    EXPECT_EQ(statuses, std::vector<int>(5, 200)) << c.what;
  }
}

TEST_F(metrics_server_test, a_request_that_ends_its_connection_is_answered_and_then_closed) {
  Start();
  struct Case {
    const char* what;
    std::string request;
    bool half_close;  // the client shuts down its sending side after the request
  };
  const Case cases[] = {
      {"Connection: close", "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", false},
      {"HTTP/1.0", "GET /metrics HTTP/1.0\r\n\r\n", false},
      {"half-closed", "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", true},
  };
  for (const Case& c : cases) {
    const auto [response, closed] = WhileServing([&] {
      const int fd = ConnectLocal(port_);
      SendAll(fd, c.request);
      if (c.half_close) shutdown(fd, SHUT_WR);
      const HttpResponse answer = ReadResponse(fd);
      const bool ended = ClosedByPeer(fd, 5s);
      close(fd);
      return std::pair(answer, ended);
    });
    EXPECT_EQ(response.status, 200) << c.what;
    EXPECT_EQ(response.body, page_) << c.what;
    EXPECT_TRUE(closed) << c.what;
  }
}

TEST_F(metrics_server_test, a_client_that_is_served_keeps_its_connection_between_scrapes) {
  Start({.idle_time = 500ms});
  const std::vector<int> statuses = WhileServing([this] {
    std::vector<int> result;
    const int fd = ConnectLocal(port_);
    // Three scrapes on one connection, each well within the answer time of the previous one
    // but together longer than it: the leash starts afresh with every answer.
    for (int i = 0; i < 3; ++i) {
      if (i > 0) std::this_thread::sleep_for(300ms);
      SendAll(fd, "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
      result.push_back(ReadResponse(fd).status);
    }
    close(fd);
    return result;
  });
  EXPECT_EQ(statuses, std::vector<int>(3, 200));
}

TEST_F(metrics_server_test, a_flood_or_a_garbled_request_is_closed) {
  Start();
  const auto [flood_closed, garbled_closed, status_after] = WhileServing([this] {
    // A request header that never ends, far past the request limit, long before any time limit.
    const int flood = ConnectLocal(port_);
    SendAll(flood, "GET /metrics HTTP/1.1\r\nX-Padding: " + std::string(256 * 1024, 'a'));
    const bool flood_cut = ClosedByPeer(flood, 5s);
    close(flood);
    const int garbled = ConnectLocal(port_);
    SendAll(garbled, std::string("\x01\x02 not http at all\r\n\r\n"));
    const bool garbled_cut = ClosedByPeer(garbled, 5s);
    close(garbled);
    return std::tuple(flood_cut, garbled_cut, HttpGet(port_, "/metrics").status);
  });
  EXPECT_TRUE(flood_closed);
  EXPECT_TRUE(garbled_closed);
  EXPECT_EQ(status_after, 200);
}

TEST_F(metrics_server_test, a_full_server_closes_its_oldest_idle_connection_for_a_new_one) {
  Start({.connections = 4});
  const auto [status, oldest_closed] = WhileServing([this] {
    std::vector<int> idle;
    for (int i = 0; i < 4; ++i) idle.push_back(ConnectLocal(port_));
    const int scrape = HttpGet(port_, "/metrics").status;
    const bool closed = ClosedByPeer(idle.front(), 5s);
    for (const int fd : idle) close(fd);
    return std::pair(scrape, closed);
  });
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(oldest_closed);
}

TEST(listen_address_test, host_and_port_are_read_and_anything_else_refused) {
  struct Case {
    const char* text;
    const char* address;  // nullptr: refused
    int port;
  };
  const Case cases[] = {
      {"127.0.0.1:19922", "127.0.0.1", 19922}, {"0.0.0.0:80", "0.0.0.0", 80},   {"[::1]:9000", "::1", 9000},
      {"localhost:0", "127.0.0.1", 0},         {"127.0.0.1", nullptr, 0},         {"127.0.0.1:", nullptr, 0},
      {"127.0.0.1:65536", nullptr, 0},         {"127.0.0.1:-1", nullptr, 0},      {"server.example:80", nullptr, 0},
      {":19922", nullptr, 0},                  {"127.0.0.1:19922x", nullptr, 0},
  };
  for (const Case& c : cases) {
    QHostAddress address;
    quint16 port = 0;
    QString error;
    const bool read = ParseListenAddress(QString::fromLatin1(c.text), address, port, error);
    EXPECT_EQ(read, c.address != nullptr) << c.text;
    if (!read) {
      EXPECT_FALSE(error.isEmpty()) << c.text;
      continue;
    }
    EXPECT_EQ(address, QHostAddress(QString::fromLatin1(c.address))) << c.text;
    EXPECT_EQ(port, c.port) << c.text;
  }
}

}  // namespace
