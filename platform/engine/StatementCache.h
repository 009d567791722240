#pragma once

#include "platform/engine/EngineStatement.h"

#include <QString>

#include <array>

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
  // One more at every change of the schema made on the connection.
  quint64 SchemaGeneration() const { return schema_; }

 private:
  struct Slot {
    std::unique_ptr<EngineStatement> statement;
    bool lent = false;
    QString text;  // the caller's, last found as this one
  };
  using Kept = std::unordered_map<QString, Slot>;
  void forget();
  Kept::value_type* find(const QString& sql);

  // Elements stay where they are when the table grows (its iterators do
  // not): a lease holds its slot until the next forget().
  Kept kept_;
  // The texts found last, found again without hashing where the caller
  // passes the same characters (a text it keeps, as a Post does).
  static constexpr std::size_t kRecent = 8;
  std::array<Kept::value_type*, kRecent> recent_{};
  std::size_t recentCount_ = 0, nextRecent_ = 0;
  quint64 schema_ = 0;
  quint64 keptSchema_ = 0;  // the schema the kept statements were prepared on
  quint64 generation_ = 0;  // one more at every forget()
};
