#include "app/metrics_server.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

#include "core/share_metrics.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Whether the client wants the connection to end with the answer to this request head:
// "Connection: close", or HTTP/1.0 without "Connection: keep-alive".
bool ClosesAfterAnswer(const QByteArray& head) {
  const QList<QByteArray> lines = head.split('\n');
  bool closes = lines.front().trimmed().endsWith("HTTP/1.0");
  for (const QByteArray& line : lines) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.left(colon).trimmed().toLower() != "connection") continue;
    for (const QByteArray& option : line.mid(colon + 1).split(',')) {
      const QByteArray token = option.trimmed().toLower();
      if (token == "close") return true;
      if (token == "keep-alive") closes = false;
    }
  }
  return closes;
}

// Hands every write to the system at once, so that the answer to a client that half-closed
// after its request has left before the socket reads the end of the stream: Qt then closes the
// socket for good, and bytes still buffered would be lost.
class WriteThroughSocket : public QTcpSocket {
 public:
  using QTcpSocket::QTcpSocket;

 protected:
  qint64 writeData(const char* data, qint64 size) override {
    const qint64 taken = QTcpSocket::writeData(data, size);
    flush();
    return taken;
  }
};

// The leash of one connection, its state as the server sees it: idle (no request under way),
// in a request's head (its first bytes came), or answering (the head is whole, the answer goes
// out). Each state has its time limit, after which the connection is closed. Lives as the
// socket's child.
class ConnectionLeash : public QObject {
 public:
  ConnectionLeash(QTcpSocket* socket, const MetricsServer::Limits& limits)
      : QObject(socket), socket_(socket), limits_(limits) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, socket, &QAbstractSocket::abort);
    connect(socket, &QIODevice::readyRead, this, &ConnectionLeash::Arrived);
    connect(socket, &QIODevice::bytesWritten, this, &ConnectionLeash::Written);
    BecomeIdle();
  }

  QTcpSocket* Socket() const { return socket_; }
  // Idle ones first, each group the longest waiting first.
  bool MakesRoomBefore(const ConnectionLeash& other) const {
    return std::pair(!IsIdle(), since_) < std::pair(!other.IsIdle(), other.since_);
  }

 private:
  bool IsIdle() const { return head_.isEmpty() && !answering_; }

  void Wait(std::chrono::milliseconds time) {
    since_ = SteadyClock::now();
    deadline_.start(time);
  }
  void BecomeIdle() {
    head_.clear();
    answering_ = false;
    Wait(limits_.idle_time);
  }

  // Runs before the HTTP parser takes the bytes.
  void Arrived() {
    if (answering_) return;
    if (head_.isEmpty()) Wait(limits_.head_time);
    head_ += socket_->peek(socket_->bytesAvailable());
    // A full read buffer without an answer is a request at least as long as the limit.
    if (head_.size() >= limits_.request_bytes) return socket_->abort();
    if (!head_.contains("\n\r\n") && !head_.contains("\n\n")) return;
    answering_ = true;
    closes_ = ClosesAfterAnswer(head_);
    Wait(limits_.idle_time);
  }

  // The parser writes an answer in several pieces, all before control returns to the event
  // loop: the answer is whole when the loop comes back with nothing left to write.
  void Written() {
    if (!answering_ || check_queued_) return;
    check_queued_ = true;
    QMetaObject::invokeMethod(this, &ConnectionLeash::Answered, Qt::QueuedConnection);
  }
  void Answered() {
    check_queued_ = false;
    if (socket_->bytesToWrite() > 0) return;  // the next bytesWritten asks again
    if (closes_) return socket_->disconnectFromHost();
    BecomeIdle();
  }

  QTcpSocket* const socket_;
  const MetricsServer::Limits limits_;
  QTimer deadline_;
  SteadyClock::time_point since_;  // when the current state began
  QByteArray head_;                // of the request under way
  bool answering_ = false;
  bool closes_ = false;            // after this answer
  bool check_queued_ = false;
};

}  // namespace

// A TCP server that puts every connection on its leash before the HTTP server sees it. The
// leash is connected first, so it hears of new bytes before the HTTP parser does.
class GuardedTcpServer : public QTcpServer {
 public:
  GuardedTcpServer(MetricsServer::Limits limits, QObject* parent) : QTcpServer(parent), limits_(limits) {}

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new WriteThroughSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
      delete socket;
      return;
    }
    if (static_cast<int>(leashes_.size()) >= limits_.connections) MakeRoom();
    // Each read takes at most this much, so a flood is cut before it piles up in memory.
    socket->setReadBufferSize(limits_.request_bytes);
    auto* leash = new ConnectionLeash(socket, limits_);
    leashes_.push_back(leash);
    connect(socket, &QObject::destroyed, this, [this, leash] { std::erase(leashes_, leash); });
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    addPendingConnection(socket);
  }

 private:
  void MakeRoom() {
    const auto first = std::min_element(leashes_.begin(), leashes_.end(),
                                        [](const auto* a, const auto* b) { return a->MakesRoomBefore(*b); });
    QTcpSocket* socket = (*first)->Socket();
    leashes_.erase(first);
    socket->abort();
  }

  MetricsServer::Limits limits_;
  std::vector<ConnectionLeash*> leashes_;  // of the open connections
};

MetricsServer::MetricsServer(std::function<std::string()> page, Limits limits, QObject* parent)
    : QObject(parent), tcp_(new GuardedTcpServer(limits, &http_)) {
  http_.route("/metrics", QHttpServerRequest::Method::Get, [page = std::move(page)](const QHttpServerRequest&) {
    return QHttpServerResponse(core::kExpositionContentType, QByteArray::fromStdString(page()));
  });
}

MetricsServer::~MetricsServer() = default;

bool MetricsServer::Listen(const QHostAddress& address, quint16 port, QString& error) {
  if (!tcp_->listen(address, port)) {
    error = tcp_->errorString();
    return false;
  }
  http_.bind(tcp_);
  return true;
}

quint16 MetricsServer::Port() const { return tcp_->serverPort(); }

bool ParseListenAddress(const QString& text, QHostAddress& address, quint16& port, QString& error) {
  const qsizetype colon = text.lastIndexOf(u':');
  QString host = text.left(colon);
  if (host.startsWith(u'[') && host.endsWith(u']')) host = host.mid(1, host.size() - 2);
  bool number = false;
  const uint value = text.mid(colon + 1).toUInt(&number, 10);
  if (colon < 0 || !number || value > 65535) {
    error = QStringLiteral("'%1' is no HOST:PORT with a port 0..65535").arg(text);
    return false;
  }
  port = static_cast<quint16>(value);
  address = host == u"localhost" ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
  if (address.isNull()) {
    error = QStringLiteral("'%1' is no IP address").arg(host);
    return false;
  }
  return true;
}
