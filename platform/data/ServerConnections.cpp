#include "platform/data/ServerConnections.h"

#include "platform/odbc/OdbcConnection.h"

#include <map>

namespace ServerConnections {
namespace {

// The password is part of the key: another password for an open login must
// be checked by the server, not handed the open connection.
QString keyOf(const SqlServerOdbc::Login& login) {
  return QStringList{login.server.trimmed().toLower(), login.database.toUpper(), login.user.toLower(), login.password,
                     login.integrated ? QStringLiteral("1") : QStringLiteral("0")}
      .join(u'\n');
}

// Left alive at exit, like the connections of the embedded road.
std::map<QString, std::weak_ptr<OdbcConnection>>& openConnections() {
  static auto* connections = new std::map<QString, std::weak_ptr<OdbcConnection>>;
  return *connections;
}

template <typename Opening>
std::shared_ptr<OdbcConnection> shared(const QString& key, const Opening& open) {
  std::weak_ptr<OdbcConnection>& slot = openConnections()[key];
  if (std::shared_ptr<OdbcConnection> held = slot.lock()) return held;
  std::shared_ptr<OdbcConnection> connection = open();
  slot = connection;
  return connection;
}

}  // namespace

std::shared_ptr<OdbcConnection> Open(const SqlServerOdbc::Login& login) {
  return shared(keyOf(login), [&login] { return SqlServerOdbc::Open(login); });
}

std::shared_ptr<OdbcConnection> Open(const QString& odbcConnectionString) {
  return shared(u'\x01' + odbcConnectionString,
                [&odbcConnectionString] { return std::make_shared<OdbcConnection>(odbcConnectionString); });
}

}  // namespace ServerConnections
