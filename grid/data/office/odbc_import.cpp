// Database import of the grid through ODBC (office_exchange.h).

#include <QFileInfo>

#include <sql.h>
#include <sqlext.h>

#include <vector>

#include "grid/data/grid_data_host.h"
#include "grid/data/office/office_exchange.h"
#include "grid/griderror.h"

namespace grid {

namespace {

// The connection text for a database file, or the caller's own connection text.
QString ConnectionText(const QString& FileName) {
  if (FileName.contains(u'=')) return FileName;
  // A ";" would end the value and start attributes of the file name's own making.
  if (FileName.contains(u';'))
    throw EExtGridError(QStringLiteral("%1: a database file name cannot hold \";\"").arg(FileName));
  const QString suffix = QFileInfo(FileName).suffix().toLower();
  if (suffix == u"mdb" || suffix == u"accdb") return QStringLiteral("DRIVER={MDBTools};DBQ=") + FileName + u';';
  // NoCreat: a missing file is an error, not a new empty database.
  return QStringLiteral("DRIVER=SQLite3;Database=") + FileName + QStringLiteral(";NoCreat=1;");
}

// One connection with one statement, closed on every way out.
class TOdbcQuery {
 public:
  explicit TOdbcQuery(const QString& FileName) : FName(FileName) {
    if (!FileName.contains(u'=') && !QFileInfo(FileName).isFile())
      throw EExtGridError(QStringLiteral("%1: no such database file").arg(FileName));
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &FEnv)))
      throw EExtGridError(QStringLiteral("%1: ODBC is not available").arg(FileName));
    SQLSetEnvAttr(FEnv, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    Check(SQLAllocHandle(SQL_HANDLE_DBC, FEnv, &FDbc), SQL_HANDLE_ENV, FEnv);
    // The import only reads; a driver that knows read-only connections gets one.
    SQLSetConnectAttr(FDbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    QByteArray text = ConnectionText(FileName).toUtf8();
    Check(SQLDriverConnect(FDbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0, nullptr,
                           SQL_DRIVER_NOPROMPT),
          SQL_HANDLE_DBC, FDbc);
    FConnected = true;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, FDbc, &FStmt), SQL_HANDLE_DBC, FDbc);
  }
  ~TOdbcQuery() {
    if (FStmt) SQLFreeHandle(SQL_HANDLE_STMT, FStmt);
    if (FConnected) SQLDisconnect(FDbc);
    if (FDbc) SQLFreeHandle(SQL_HANDLE_DBC, FDbc);
    if (FEnv) SQLFreeHandle(SQL_HANDLE_ENV, FEnv);
  }
  TOdbcQuery(const TOdbcQuery&) = delete;
  TOdbcQuery& operator=(const TOdbcQuery&) = delete;

  // The table's name in the driver's identifier quotes; EExtGridError for a name they cannot hold.
  QString QuotedName(const QString& Table) {
    char quote[8] = {};
    SQLSMALLINT length = 0;
    SQLGetInfo(FDbc, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length);
    QString open = QString::fromLatin1(quote).trimmed();
    if (open.isEmpty()) open = QStringLiteral("\"");
    const QString close = open == u"[" ? QStringLiteral("]") : open;
    if (Table.isEmpty() || Table.contains(close) || Table.contains(open) || Table.contains(QChar(0)))
      throw EExtGridError(QStringLiteral("The table name %1 cannot be quoted").arg(Table));
    return open + Table + close;
  }

  void Execute(const QString& Sql) {
    QByteArray text = Sql.toUtf8();
    Check(SQLExecDirect(FStmt, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS), SQL_HANDLE_STMT, FStmt);
  }

  QStringList FieldNames() {
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(FStmt, &count), SQL_HANDLE_STMT, FStmt);
    QStringList names;
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
      SQLCHAR name[512] = {};
      SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      Check(SQLDescribeCol(FStmt, i, name, sizeof name, &length, &type, &size, &digits, &nullable), SQL_HANDLE_STMT, FStmt);
      names.append(QString::fromUtf8(reinterpret_cast<const char*>(name)));
    }
    return names;
  }

  // The next record's fields as texts (a NULL or empty field as the empty text); false at the end.
  bool Fetch(int Fields, QStringList& Record) {
    const SQLRETURN r = SQLFetch(FStmt);
    if (r == SQL_NO_DATA) return false;
    Check(r, SQL_HANDLE_STMT, FStmt);
    Record.clear();
    for (int i = 1; i <= Fields; ++i) Record.append(Field(static_cast<SQLUSMALLINT>(i)));
    return true;
  }

 private:
  QString Field(SQLUSMALLINT Index) {
    QByteArray value;
    char chunk[4096];
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN r = SQLGetData(FStmt, Index, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
      if (r == SQL_NO_DATA || indicator == SQL_NULL_DATA) break;
      Check(r, SQL_HANDLE_STMT, FStmt);
      const qsizetype got = indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk)
                                ? qsizetype(sizeof chunk) - 1
                                : static_cast<qsizetype>(indicator);
      value.append(chunk, got);
      if (r == SQL_SUCCESS) break;
    }
    return QString::fromUtf8(value);
  }

  void Check(SQLRETURN R, SQLSMALLINT Type, SQLHANDLE Handle) {
    if (SQL_SUCCEEDED(R)) return;
    QString why;
    SQLCHAR state[8] = {}, message[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; SQLGetDiagRec(Type, Handle, i, state, &native, message, sizeof message, &length) == SQL_SUCCESS; ++i)
      why += (why.isEmpty() ? QString() : QStringLiteral("; ")) + QString::fromUtf8(reinterpret_cast<const char*>(message));
    throw EExtGridError(QStringLiteral("%1: %2").arg(FName, why.isEmpty() ? QStringLiteral("the database refused the call") : why));
  }

  QString FName;
  SQLHENV FEnv = SQL_NULL_HENV;
  SQLHDBC FDbc = SQL_NULL_HDBC;
  SQLHSTMT FStmt = SQL_NULL_HSTMT;
  bool FConnected = false;
};

void LoadQuery(TGridDataHost& Host, TOdbcQuery& Query, const QString& SQL) {
  Query.Execute(SQL);
  const QStringList names = Query.FieldNames();
  std::vector<QStringList> records;
  QStringList record;
  while (Query.Fetch(static_cast<int>(names.size()), record)) records.push_back(record);

  const int fixedCols = Host.FixedCols(), fixedRows = Host.FixedRows();
  Host.SetColCount(static_cast<int>(names.size()) + fixedCols);
  if (fixedRows > 0)
    for (int i = 0; i < names.size(); ++i) Host.WriteCell(fixedCols + i, fixedRows - 1, names[i]);
  // The records are read before the grid is sized, so the count is known; the grid takes exactly them.
  if (!records.empty()) Host.SetRowCount(fixedRows + static_cast<int>(records.size()));
  int row = fixedRows;
  for (const QStringList& r : records) {
    if (row >= Host.RowCount()) Host.SetRowCount(row + 1);
    for (int i = 0; i < r.size(); ++i) Host.LoadCell(fixedCols + i, row, r[i]);
    ++row;
  }
}

}  // namespace

void LoadFromMDBSQL(TGridDataHost& Host, const QString& FileName, const QString& SQL) {
  TOdbcQuery query(FileName);
  LoadQuery(Host, query, SQL);
}

void LoadFromMDBTable(TGridDataHost& Host, const QString& FileName, const QString& Table) {
  TOdbcQuery query(FileName);
  LoadQuery(Host, query, QStringLiteral("SELECT * FROM ") + query.QuotedName(Table));
}

}  // namespace grid
