#include "app/metrics_server.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "core/share_metrics.h"

namespace {

// The leash of one connection: closed when no answer has gone out for the answer time, or when
// the request limit has come in since the last answer. Lives as the socket's child.
class ConnectionLeash : public QObject {
 public:
  ConnectionLeash(QTcpSocket* socket, const MetricsServer::Limits& limits) : QObject(socket) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, socket, &QAbstractSocket::abort);
    deadline_.start(limits.answer_time);
    connect(socket, &QIODevice::readyRead, this, [this, socket, limit = limits.request_bytes] {
      unanswered_ += socket->bytesAvailable();
      // A full read buffer without an answer is a request at least as long as the limit.
      if (unanswered_ >= limit) socket->abort();
    });
    // An answer going out starts the leash afresh: the client is being served.
    connect(socket, &QIODevice::bytesWritten, this, [this, time = limits.answer_time] {
      unanswered_ = 0;
      deadline_.start(time);
    });
  }

 private:
  QTimer deadline_;
  qint64 unanswered_ = 0;
};

}  // namespace

// A TCP server that puts every connection on its leash before the HTTP server sees it. The
// leash is connected first, so it hears of new bytes before the HTTP parser does.
class GuardedTcpServer : public QTcpServer {
 public:
  GuardedTcpServer(MetricsServer::Limits limits, QObject* parent) : QTcpServer(parent), limits_(limits) {}

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
      delete socket;
      return;
    }
    if (open_ >= limits_.connections) {
      socket->abort();
      socket->deleteLater();
      return;
    }
    ++open_;
    connect(socket, &QObject::destroyed, this, [this] { --open_; });
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    // Each read takes at most this much, so a flood is cut before it piles up in memory.
    socket->setReadBufferSize(limits_.request_bytes);
    new ConnectionLeash(socket, limits_);
    addPendingConnection(socket);
  }

 private:
  MetricsServer::Limits limits_;
  int open_ = 0;
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
