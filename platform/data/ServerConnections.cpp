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

}  // namespace

std::shared_ptr<OdbcConnection> Open(const SqlServerOdbc::Login& login) {
  std::weak_ptr<OdbcConnection>& slot = openConnections()[keyOf(login)];
  if (std::shared_ptr<OdbcConnection> open = slot.lock()) return open;
  std::shared_ptr<OdbcConnection> connection = SqlServerOdbc::Open(login);
  slot = connection;
  return connection;
}

}  // namespace ServerConnections
