// The metrics endpoint: an HTTP server (Qt's HTTP server module) that answers "GET /metrics"
// with the page a provider gives, as Prometheus text, and 404 to every other path or method.
// It runs on the thread that owns it, in that thread's event loop; the provider is called
// there and must be quick (it copies guarded state, it never waits for a probe).
//
// No client can hold the server. A connection without a request under way (idle) is closed
// after `idle_time`; a request whose head has not ended `head_time` after its first byte, an
// answer not taken within `idle_time`, and `request_bytes` arriving without an answer close
// it too. With `connections` open, a new connection closes the one idle the longest (else the
// one whose request has waited longest) to make room, so a crowd of idle connections cannot
// keep a scrape out. "Connection: close" and HTTP/1.0 requests are answered, then closed; a
// client that half-closes after its request gets its answer. A request the HTTP parser
// rejects gets its connection closed.
#pragma once

#include <QHostAddress>
#include <QHttpServer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <string>

class GuardedTcpServer;

// How far a client may go before its connection is closed (see above).
struct MetricsServerLimits {
  std::chrono::milliseconds idle_time{10000};
  std::chrono::milliseconds head_time{2000};
  qint64 request_bytes = 16 * 1024;
  int connections = 128;
};

class MetricsServer : public QObject {
 public:
  using Limits = MetricsServerLimits;

  explicit MetricsServer(std::function<std::string()> page, Limits limits = {}, QObject* parent = nullptr);
  ~MetricsServer() override;

  // Listens on the address (port 0: one the system picks). False, with the reason, when the
  // address cannot be taken.
  bool Listen(const QHostAddress& address, quint16 port, QString& error);
  quint16 Port() const;

 private:
  QHttpServer http_;
  GuardedTcpServer* tcp_;  // owned by http_
};

// Reads "HOST:PORT" ("127.0.0.1:19922", "[::1]:9000", "localhost:19922"; port 0..65535).
// False, with the reason, for anything else.
bool ParseListenAddress(const QString& text, QHostAddress& address, quint16& port, QString& error);
