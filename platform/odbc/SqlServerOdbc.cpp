#include "platform/odbc/SqlServerOdbc.h"

#include "platform/ConnectionString.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr auto kDriver = "FreeTDS";
constexpr auto kDefaultPort = "1433";
// The first FreeTDS that reads "}}" inside braces back as "}".
constexpr OdbcDriverVersion kEscapesBraces{1, 4, 0};

bool needsBraces(const QString& value) {
  return value.contains(u';') || value.startsWith(u'{') || value != value.trimmed();
}

// key=value of the connection string.
QString pair(const QString& key, const QString& value, const OdbcDriverVersion& driver) {
  if (!needsBraces(value)) return key + u'=' + value;
  if (value.contains(u'}') && driver < kEscapesBraces)
    throw EDatabaseError(
        QString::fromLatin1(EngineText::GeneralSqlError),
        QStringLiteral("FreeTDS %1 no lee bien una \"}\" en el valor de %2: cambie ese valor o instale FreeTDS 1.4 o "
                       "posterior.")
            .arg(driver.Text(), key));
  QString inner = value;
  inner.replace(u'}', QStringLiteral("}}"));
  return key + QStringLiteral("={") + inner + u'}';
}

QString withoutPrefix(QString server) {
  server = server.trimmed();
  for (const QLatin1String prefix : {QLatin1String("np:"), QLatin1String("tcp:")})
    if (server.startsWith(prefix, Qt::CaseInsensitive)) server = server.mid(prefix.size());
  return server;
}

// FreeTDS speaks TCP alone: a named pipe's "np:" reaches the same host.
QStringList hostAndPort(const QString& serverName, const OdbcDriverVersion& driver) {
  QString server = withoutPrefix(serverName);
  QString port = QLatin1String(kDefaultPort);
  if (const qsizetype comma = server.indexOf(u','); comma >= 0) {
    port = server.mid(comma + 1).trimmed();
    server = server.left(comma).trimmed();
  }
  if (server == u"." || server.compare(u"(local)", Qt::CaseInsensitive) == 0) server = QStringLiteral("localhost");
  // A named instance is found by the server's browser, not at a fixed port.
  if (server.contains(u'\\')) return {pair(QStringLiteral("SERVER"), server, driver)};
  return {pair(QStringLiteral("SERVER"), server, driver), pair(QStringLiteral("PORT"), port, driver)};
}

}  // namespace

namespace SqlServerOdbc {

Login LoginOf(const QString& adoText) {
  Login login;
  for (const auto& [name, value] : ConnectionString::Pairs(adoText)) {
    const QString key = name.toLower();
    if (key == u"data source" || key == u"server" || key == u"address")
      login.server = value.trimmed();
    else if (key == u"initial catalog" || key == u"database")
      login.database = value;
    else if (key == u"user id" || key == u"uid")
      login.user = value;
    else if (key == u"password" || key == u"pwd")
      login.password = value;
    else if (key == u"application name")
      login.application = value;
    else if (key == u"integrated security" || key == u"trusted_connection")
      login.integrated = value.compare(u"false", Qt::CaseInsensitive) != 0 && value.compare(u"no", Qt::CaseInsensitive) != 0;
    else if (key == u"connect timeout" || key == u"connection timeout") {
      bool number = false;
      const int seconds = value.trimmed().toInt(&number);
      if (number && seconds >= 0) login.timeoutSeconds = seconds;
    }
  }
  return login;
}

bool NamesAHost(const QString& serverName) {
  // A name or an address (IPv6 between brackets), then an instance or a port.
  static const QRegularExpression host(QStringLiteral(R"(^(\(local\)|\.|[A-Za-z0-9_.\-]+|\[[0-9A-Fa-f:.]+\])(\\[A-Za-z0-9_$\-]+)?(\s*,\s*\d{1,5})?$)"));
  return host.match(withoutPrefix(serverName)).hasMatch();
}

QString ConnectionString(const Login& login, const OdbcDriverVersion& driver) {
  QStringList parts{QStringLiteral("DRIVER={%1}").arg(QLatin1String(kDriver))};
  parts << hostAndPort(login.server, driver);
  if (!login.database.isEmpty()) parts << pair(QStringLiteral("DATABASE"), login.database, driver);
  if (!login.user.isEmpty()) parts << pair(QStringLiteral("UID"), login.user, driver);
  if (login.integrated)
    parts << QStringLiteral("Trusted_Connection=Yes");
  else
    parts << pair(QStringLiteral("PWD"), login.password, driver);
  // An empty language keeps the login's own: FreeTDS would otherwise send
  // us_english, and a day-first installation would misread its dates.
  parts << QStringLiteral("TDS_Version=7.4") << QStringLiteral("ClientCharset=UTF-8") << QStringLiteral("Language=");
  if (!login.application.isEmpty()) parts << pair(QStringLiteral("APP"), login.application, driver);
  return parts.join(u';');
}

QString ConnectionString(const Login& login) {
  // Asked once: the library the process loaded does not change under it.
  static const std::optional<OdbcDriverVersion> installed = InstalledDriverVersion(QLatin1String(kDriver));
  // A driver that does not tell is taken for the oldest.
  return ConnectionString(login, installed.value_or(OdbcDriverVersion{}));
}

QString ConnectionString(const QString& adoText) { return ConnectionString(LoginOf(adoText)); }

QStringList SessionOptions() {
  const int busyTimeout = ConnectionSettings::BusyTimeout();
  return {
      QStringLiteral("SET QUOTED_IDENTIFIER ON"),      QStringLiteral("SET ANSI_NULLS ON"),
      QStringLiteral("SET ANSI_PADDING ON"),           QStringLiteral("SET ANSI_WARNINGS ON"),
      QStringLiteral("SET ANSI_NULL_DFLT_ON ON"),      QStringLiteral("SET CONCAT_NULL_YIELDS_NULL ON"),
      QStringLiteral("SET CURSOR_CLOSE_ON_COMMIT OFF"), QStringLiteral("SET IMPLICIT_TRANSACTIONS OFF"),
      QStringLiteral("SET TEXTSIZE 2147483647"),
      // -1, the server's own, would wait without end.
      QStringLiteral("SET LOCK_TIMEOUT %1").arg(std::max(busyTimeout, 0)),
  };
}

std::unique_ptr<OdbcConnection> Open(const QString& odbcConnectionString, std::optional<int> loginTimeoutSeconds) {
  auto connection = std::make_unique<OdbcConnection>(odbcConnectionString, loginTimeoutSeconds);
  connection->Execute(SessionOptions().join(u'\n'));
  return connection;
}

std::unique_ptr<OdbcConnection> Open(const Login& login) { return Open(ConnectionString(login), login.timeoutSeconds); }

}  // namespace SqlServerOdbc
