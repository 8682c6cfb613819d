#include "windows/version_check.h"

#include <QTimer>
#include <QUrlQuery>

#include "platform/rtl/strutils.h"
#include "windows/http_get.h"

// The maker's web server. The paths, query keys and fragments below are fixed; the host is ours to choose.
const char Web_Server_Default[] = "http://www.veltrum.example";

namespace {

QString& Base() {
  static QString base = QString::fromLatin1(Web_Server_Default);
  return base;
}

// The row whose update code and version the check uses: a model's own; the re-brands and the types that are no
// model use type 1's.
const TDevice_Model& Entry(int32_t deviceType) {
  const TDevice_Model& m = Device_Model(deviceType);
  return m.Is_Own_Model() ? m : Device_Model(1);
}

}  // namespace

QString Web_Server_Base() { return Base(); }

void Set_Web_Server_Base(const QString& B) {
  QString b = B;
  while (b.endsWith(u'/')) b.chop(1);
  Base() = b;
}

QString Version_Check_Code(int32_t deviceType) { return QString::fromUtf16(Entry(deviceType).Code); }

QString Built_In_Version(int32_t deviceType) { return QString::fromUtf16(Entry(deviceType).Version); }

QString Document_Code(int32_t deviceType) {
  // The OEM types document the model they re-brand (1001 is type 1's model, 1007 type 7's).
  return QStringLiteral("MN") + QString::fromUtf16(Entry(Device_Model(deviceType).Model).Code).mid(2);
}

QUrl Version_Check_Url(int32_t deviceType) {
  QUrl u(Base() + QStringLiteral("/home/download/GetversionSW.asp"));
  QUrlQuery q;
  q.addQueryItem(QStringLiteral("nomesw"), Version_Check_Code(deviceType));
  u.setQuery(q);
  return u;
}

QUrl Download_Page_Url(int32_t deviceType) {
  QUrl u(Base() + QStringLiteral("/Home/download/download.asp"));
  u.setFragment(QStringLiteral("HD") + Version_Check_Code(deviceType).mid(2));
  return u;
}

QUrl Home_Page_Url(int32_t deviceType) {
  if (!Device_Model(deviceType).Is_Own_Model()) return QUrl();
  QUrl u(Base() + QStringLiteral("/HOME/default.asp"));
  QUrlQuery q;
  q.addQueryItem(QStringLiteral("frompg"), SW_Code_Type(deviceType));
  u.setQuery(q);
  return u;
}

int Conv_Version(const QString& Ver_str) {
  const int blank = Ver_str.indexOf(u' ');
  const QString s = (blank >= 0 ? Ver_str.mid(blank + 1) : Ver_str).trimmed();
  if (s.size() < 5) return -1;
  const QString digits = QString(s[0]) + s[2] + s[3] + s[4];
  int v = 0;
  return plat::TryStrToInt(digits, v) ? v : -1;
}

bool Is_Newer_Version(const QString& Reply, const QString& Local) {
  const QString r = Reply.toUpper().trimmed();
  if (r.isEmpty() || r == u"VER. 0.000") return false;
  const int local = Conv_Version(Local);
  const int remote = Conv_Version(Reply.trimmed());
  return local != -1 && remote != -1 && local < remote;
}

TVersionCheck::TVersionCheck(QObject* Parent) : QObject(Parent), FTimer(new QTimer(this)) {
  FTimer->setSingleShot(true);
  connect(FTimer, &QTimer::timeout, this, [this] { Finish(false); });
}

TVersionCheck::~TVersionCheck() = default;

bool TVersionCheck::Start(std::function<void(bool)> Done) {
  if (Busy()) return false;
  FDone = std::move(Done);
  FBody.clear();
  FLastBody.clear();
  FBusy = true;
  FTimer->start(FTimeoutMs);
  // The client is made for the first check, not with the window: it loads the network library.
  if (!FHttp) FHttp = Make_Http_Get();
  if (!FHttp) {
    QTimer::singleShot(0, this, [this] { Finish(false); });  // as a failed request: answered later, not now
    return true;
  }
  FHttp->Start(
      Version_Check_Url(), "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
      [this](const QByteArray& piece) {
        FBody += piece;
        if (FBody.size() > Max_Body_Bytes) Finish(false);  // no version text is that long
      },
      [this](bool ok) { Finish(ok && FBody.size() <= Max_Body_Bytes); });
  return true;
}

void TVersionCheck::Finish(bool ok) {
  if (!FBusy) return;
  FBusy = false;
  FTimer->stop();
  if (FHttp) FHttp->Abort();
  FLastBody = ok ? FBody : QByteArray();
  FBody.clear();
  const bool newer = ok && Is_Newer_Version(QString::fromLatin1(FLastBody));
  auto done = std::move(FDone);
  FDone = nullptr;
  if (done) done(newer);
}
