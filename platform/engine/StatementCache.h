#pragma once

#include "platform/engine/EngineStatement.h"

#include <QString>

#include <functional>
#include <memory>
#include <unordered_map>

// The statements a connection runs again and again, prepared once and kept
// by their text. A statement is lent out and comes back reset, its bindings
// cleared, so none stays pending between uses (on SQLite a pending one makes
// DROP TABLE fail and stalls checkpoints). A change of the schema made on
// the connection forgets them all.
class StatementCache {
 public:
  using Prepare = std::function<std::unique_ptr<EngineStatement>()>;

  StatementCache() = default;
  ~StatementCache();
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  // The kept statement of that text, or a new one prepared; none is lent twice.
  std::unique_ptr<EngineStatement> Take(const QString& sql, quint64& schema, const Prepare& prepare);
  void Give(const QString& sql, std::unique_ptr<EngineStatement> statement, quint64 schema);
  void Clear() { kept_.clear(); }
  // The schema is changing: what was prepared before is not served again.
  void SchemaChanging() { ++schema_; }
  int Size() const { return static_cast<int>(kept_.size()); }

 private:
  std::unordered_map<QString, std::unique_ptr<EngineStatement>> kept_;
  quint64 schema_ = 0;
  quint64 keptSchema_ = 0;  // the schema the kept statements were prepared on
};
