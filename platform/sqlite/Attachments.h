#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Connection;

// The other database files a connection sees under schema names. SQLite
// attaches only a few files at once (ten by default): one kept attached
// (the general database) stays for the connection's life; the others are
// attached on demand and, when there is no room, the one used least
// recently is detached. Files are attached and detached outside
// transactions only: inside one, a file not attached yet raises
// "Cannot attach database 'X' inside a transaction".
class Attachments {
 public:
  explicit Attachments(Connection& connection) : connection_(connection) {}

  // Whether a file is attached under the schema name (kept or not).
  bool Contains(const QString& schema) const;
  // Both attach the file even where the schema name had another one.
  // Attaches the file for the connection's life.
  void Keep(const QString& schema, const QString& file);
  // Attaches the file for a statement that also uses the schemas inUse,
  // which are never detached to make room.
  void Use(const QString& schema, const QString& file, const QStringList& inUse = {});

  QStringList OnDemand() const { return onDemand_; }  // least recently used first

 private:
  std::optional<QString> fileOf(const QString& schema) const;
  bool attachedTo(const QString& schema, const QString& file);
  void attach(const QString& schema, const QString& file, const QStringList& inUse);
  int attachedCount() const;

  Connection& connection_;
  QStringList onDemand_;
};
