#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
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
  // Told of each file before it is attached (throwing refuses it) and after
  // it is detached, or when the connection closes with it attached.
  using Observer = std::function<void(const QString& schema, const QString& file, bool attached)>;

  explicit Attachments(Connection& connection) : connection_(connection) {}
  ~Attachments();
  Attachments(const Attachments&) = delete;
  Attachments& operator=(const Attachments&) = delete;

  void SetObserver(Observer observer) { observer_ = std::move(observer); }

  // Whether a file is attached under the schema name (kept or not).
  bool Contains(const QString& schema) const;
  // Both attach the file even where the schema name had another one.
  // Attaches the file for the connection's life.
  void Keep(const QString& schema, const QString& file);
  // Attaches the file for a statement that also uses the schemas inUse,
  // which are never detached to make room.
  void Use(const QString& schema, const QString& file, const QStringList& inUse = {});

  QStringList OnDemand() const { return onDemand_; }  // least recently used first
  // Detaches a file attached on demand, unless a transaction is open;
  // whether the schema name is free of it now.
  bool Release(const QString& schema);

 private:
  std::optional<QString> fileOf(const QString& schema) const;
  bool attachedTo(const QString& schema, const QString& file);
  void attach(const QString& schema, const QString& file, const QStringList& inUse);
  int attachedCount() const;
  void detach(const QString& schema);

  Connection& connection_;
  QStringList onDemand_;
  Observer observer_;
  std::map<QString, QString> observed_;  // the files told attached, by upper-cased schema
};
