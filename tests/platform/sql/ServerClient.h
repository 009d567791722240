#pragma once

#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/ServerCommands.h"
#include "platform/sqlite/Connection.h"

#include <QStringList>

#include <memory>
#include <ostream>

class MappingCache;

// A client of the embedded server wired as the data layer wires it: the
// batch is compiled whole, then each statement of it goes to the server
// commands first; what they leave is mapped and run on the session's current
// database, through the process's connection of its file, with what the
// mapper keeps of that connection.
class ServerClient {
 public:
  explicit ServerClient(const QString& folder, const QString& login = u"sa"_qs, const QString& password = QString(),
                        const QString& dateFormat = u"mm/dd/yyyy"_qs);

  SqlRows Run(const QString& batch);
  // The rows as texts: NULL for null, numbers without trailing zeros.
  QList<QStringList> Texts(const QString& batch);
  // The driver's text of the error the batch raises; empty when it runs.
  QString Error(const QString& batch);

  EmbeddedServer& Server() { return server_; }
  ServerSession& Session() { return *session_; }
  ::Connection& Connection();  // on the session's current database

 private:
  EmbeddedServer server_;
  QString dateFormat_;
  std::unique_ptr<ServerSession> session_;
  std::unique_ptr<ServerCommands> commands_;
  std::shared_ptr<::Connection> connection_;
  std::shared_ptr<MappingCache> cache_;  // the road's, of connection_
  QString connectedTo_;
};

QStringList RowTexts(const QVariantList& row);

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
