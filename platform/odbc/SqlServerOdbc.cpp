#include "platform/odbc/SqlServerOdbc.h"

#include "platform/ConnectionString.h"
#include "platform/odbc/OdbcConnection.h"

#include <algorithm>

namespace {

constexpr auto kDefaultPort = "1433";

QString braced(const QString& value) {
  static const QString special = QStringLiteral(";{}");
  const bool plain = value == value.trimmed() &&
                     std::none_of(value.begin(), value.end(), [](QChar c) { return special.contains(c); });
  if (plain) return value;
  QString inner = value;
  inner.replace(u'}', QStringLiteral("}}"));
  return u'{' + inner + u'}';
}

struct AdoValues {
  QString server;
  QString database;
  QString user;
  QString password;
  QString application;
  bool integrated = false;
};

AdoValues adoValues(const QString& adoText) {
  AdoValues values;
  for (const auto& [name, value] : ConnectionString::Pairs(adoText)) {
    const QString key = name.toLower();
    if (key == u"data source" || key == u"server" || key == u"address")
      values.server = value.trimmed();
    else if (key == u"initial catalog" || key == u"database")
      values.database = value;
    else if (key == u"user id" || key == u"uid")
      values.user = value;
    else if (key == u"password" || key == u"pwd")
      values.password = value;
    else if (key == u"application name")
      values.application = value;
    else if (key == u"integrated security" || key == u"trusted_connection")
      values.integrated = value.compare(u"false", Qt::CaseInsensitive) != 0 && value.compare(u"no", Qt::CaseInsensitive) != 0;
  }
  return values;
}

// FreeTDS speaks TCP alone: a named pipe's "np:" reaches the same host.
QString hostAndPort(QString server) {
  for (const QLatin1String prefix : {QLatin1String("np:"), QLatin1String("tcp:")})
    if (server.startsWith(prefix, Qt::CaseInsensitive)) server = server.mid(prefix.size());
  QString port = QLatin1String(kDefaultPort);
  if (const qsizetype comma = server.indexOf(u','); comma >= 0) {
    port = server.mid(comma + 1).trimmed();
    server = server.left(comma).trimmed();
  }
  if (server == u"." || server.compare(u"(local)", Qt::CaseInsensitive) == 0) server = QStringLiteral("localhost");
  // A named instance is found by the server's browser, not at a fixed port.
  if (server.contains(u'\\')) return QStringLiteral("SERVER=") + braced(server);
  return QStringLiteral("SERVER=") + braced(server) + QStringLiteral(";PORT=") + braced(port);
}

}  // namespace

namespace SqlServerOdbc {

QString ConnectionString(const QString& adoText) {
  const AdoValues values = adoValues(adoText);
  QStringList parts{QStringLiteral("DRIVER={FreeTDS}"), hostAndPort(values.server)};
  if (!values.database.isEmpty()) parts << QStringLiteral("DATABASE=") + braced(values.database);
  if (!values.user.isEmpty()) parts << QStringLiteral("UID=") + braced(values.user);
  if (values.integrated)
    parts << QStringLiteral("Trusted_Connection=Yes");
  else
    parts << QStringLiteral("PWD=") + braced(values.password);
  parts << QStringLiteral("TDS_Version=7.4") << QStringLiteral("ClientCharset=UTF-8");
  if (!values.application.isEmpty()) parts << QStringLiteral("APP=") + braced(values.application);
  return parts.join(u';');
}

QStringList SessionOptions() {
  return {
      QStringLiteral("SET QUOTED_IDENTIFIER ON"),      QStringLiteral("SET ANSI_NULLS ON"),
      QStringLiteral("SET ANSI_PADDING ON"),           QStringLiteral("SET ANSI_WARNINGS ON"),
      QStringLiteral("SET ANSI_NULL_DFLT_ON ON"),      QStringLiteral("SET CONCAT_NULL_YIELDS_NULL ON"),
      QStringLiteral("SET CURSOR_CLOSE_ON_COMMIT OFF"), QStringLiteral("SET IMPLICIT_TRANSACTIONS OFF"),
      QStringLiteral("SET TEXTSIZE 2147483647"),
  };
}

std::unique_ptr<OdbcConnection> Open(const QString& odbcConnectionString) {
  auto connection = std::make_unique<OdbcConnection>(odbcConnectionString);
  connection->Execute(SessionOptions().join(u'\n'));
  return connection;
}

}  // namespace SqlServerOdbc
