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

TEST_F(metrics_server_test, a_slow_or_silent_client_is_cut_off_while_others_are_served) {
  Start({300ms, 16 * 1024, 128});
  struct Outcome {
    bool silent_closed, slow_closed;
    std::vector<int> statuses;
  };
  const Outcome outcome = WhileServing([this] {
    Outcome result;
    const int silent = ConnectLocal(port_);
    const int slow = ConnectLocal(port_);
    SendAll(slow, "GET /metr");  // and never more
    for (int i = 0; i < 5; ++i) result.statuses.push_back(HttpGet(port_, "/metrics").status);
    result.silent_closed = ClosedByPeer(silent, 5s);
    result.slow_closed = ClosedByPeer(slow, 5s);
    close(silent);
    close(slow);
    return result;
  });
  EXPECT_TRUE(outcome.silent_closed);
  EXPECT_TRUE(outcome.slow_closed);
  EXPECT_EQ(outcome.statuses, std::vector<int>(5, 200));
}

TEST_F(metrics_server_test, a_client_that_is_served_keeps_its_connection_between_scrapes) {
  Start({500ms, 16 * 1024, 128});
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

TEST_F(metrics_server_test, a_flood_a_garbled_request_and_one_connection_too_many_are_closed) {
  Start({10s, 16 * 1024, 4});
  struct Outcome {
    bool flood_closed, garbled_closed, extra_closed;
    int status_after;
  };
  const Outcome outcome = WhileServing([this] {
    Outcome result{};
    // A request header that never ends, far past the request limit, long before the answer time.
    const int flood = ConnectLocal(port_);
    SendAll(flood, "GET /metrics HTTP/1.1\r\nX-Padding: " + std::string(256 * 1024, 'a'));
    result.flood_closed = ClosedByPeer(flood, 5s);
    close(flood);
    const int garbled = ConnectLocal(port_);
    SendAll(garbled, std::string("\x01\x02 not http at all\r\n\r\n"));
    result.garbled_closed = ClosedByPeer(garbled, 5s);
    close(garbled);
    // Four idle connections fill the server; a fifth is closed at once.
    std::vector<int> idle;
    for (int i = 0; i < 4; ++i) idle.push_back(ConnectLocal(port_));
    std::this_thread::sleep_for(200ms);
    const int extra = ConnectLocal(port_);
    result.extra_closed = ClosedByPeer(extra, 5s);
    close(extra);
    for (const int fd : idle) close(fd);
    std::this_thread::sleep_for(200ms);
    result.status_after = HttpGet(port_, "/metrics").status;
    return result;
  });
  EXPECT_TRUE(outcome.flood_closed);
  EXPECT_TRUE(outcome.garbled_closed);
  EXPECT_TRUE(outcome.extra_closed);
  EXPECT_EQ(outcome.status_after, 200);
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
