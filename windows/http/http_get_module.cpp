// The HTTP client of the version check, over the network library: built as the module the program loads when
// it first asks for a version (see http_get.h).
#include "windows/http_get.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace {

class TQt_Http_Get final : public THttp_Get {
 public:
  TQt_Http_Get() { FManager.setCookieJar(nullptr); }
  ~TQt_Http_Get() override { Abort(); }

  void Start(const QUrl& Url, const QByteArray& Accept, std::function<void(const QByteArray&)> Data,
             std::function<void(bool)> Done) override {
    Abort();
    QNetworkRequest req(Url);
    req.setRawHeader("Accept", Accept);
    req.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    req.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    QNetworkReply* reply = FManager.get(req);
    FReply = reply;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, Data] {
      const QByteArray piece = reply->readAll();
      if (!piece.isEmpty()) Data(piece);
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, Data, Done] {
      const QByteArray piece = reply->readAll();
      const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
      const bool ok = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
      FReply = nullptr;
      reply->disconnect();
      reply->deleteLater();
      if (!piece.isEmpty()) Data(piece);
      Done(ok);
    });
  }

  void Abort() override {
    if (QNetworkReply* r = FReply) {
      FReply = nullptr;
      r->disconnect();
      r->abort();
      r->deleteLater();
    }
  }

 private:
  QNetworkAccessManager FManager;
  QPointer<QNetworkReply> FReply;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) THttp_Get* Configurator_Make_Http_Get() { return new TQt_Http_Get; }
