#pragma once
// A one-request-at-a-time HTTP server on 127.0.0.1 for the version check: it records each request and
// answers with a scripted status and body, or not at all.

#include <QByteArray>
#include <QMap>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class LocalHttpServer {
 public:
  LocalHttpServer() {
    server_.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { OnData(s); });
      }
    });
  }

  QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

  // The next answers; Silent keeps the connection open without a reply.
  int Status = 200;
  QByteArray Body;
  bool Silent = false;

  // Raw head (request line and headers) of every request received.
  QList<QByteArray> Requests;

 private:
  void OnData(QTcpSocket* s) {
    QByteArray& buf = pending_[s];
    buf += s->readAll();
    const int end = buf.indexOf("\r\n\r\n");
    if (end < 0) return;
    Requests << buf.left(end);
    buf.clear();
    if (Silent) return;
    QByteArray reply = "HTTP/1.0 " + QByteArray::number(Status) + (Status == 200 ? " OK" : " Error") + "\r\n";
    reply += "Content-Type: text/html\r\nContent-Length: " + QByteArray::number(Body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n" + Body;
    s->write(reply);
    s->disconnectFromHost();
  }

  QTcpServer server_;
  QMap<QTcpSocket*, QByteArray> pending_;
};
