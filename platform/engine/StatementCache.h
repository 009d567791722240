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
  struct Slot;

 public:
  using Prepare = std::function<std::unique_ptr<EngineStatement>()>;

  // Where a lent statement goes back to. A Post lends several statements
  // each time: the text is looked up once, and its place is kept for it.
  class Lease {
   private:
    friend class StatementCache;
    Slot* slot_ = nullptr;  // none: the statement is not kept
    quint64 schema_ = 0;
    quint64 generation_ = 0;
  };

  StatementCache() = default;
  ~StatementCache();
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  // The kept statement of that text, or a new one prepared; none is lent twice.
  std::unique_ptr<EngineStatement> Take(const QString& sql, Lease& lease, const Prepare& prepare);
  void Give(const Lease& lease, std::unique_ptr<EngineStatement> statement);
  void Clear() { forget(); }
  // The schema is changing: what was prepared before is not served again.
  void SchemaChanging() { ++schema_; }
  int Size() const { return static_cast<int>(kept_.size()); }

 private:
  struct Slot {
    std::unique_ptr<EngineStatement> statement;
    bool lent = false;
  };
  void forget();

  // Elements stay where they are when the table grows: a lease holds its
  // slot until the next forget().
  std::unordered_map<QString, Slot> kept_;
  quint64 schema_ = 0;
  quint64 keptSchema_ = 0;  // the schema the kept statements were prepared on
  quint64 generation_ = 0;  // one more at every forget()
};
