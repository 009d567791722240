#include "platform/engine/StatementCache.h"

namespace {

// Texts built from a dataset's order and conditions are few per table; a
// connection that runs ever new texts starts again rather than grow.
constexpr std::size_t kMostKept = 256;

}  // namespace

StatementCache::~StatementCache() = default;

std::unique_ptr<EngineStatement> StatementCache::Take(const QString& sql, quint64& schema, const Prepare& prepare) {
  if (keptSchema_ != schema_) {
    kept_.clear();
    keptSchema_ = schema_;
  }
  schema = schema_;
  const auto kept = kept_.find(sql);
  if (kept == kept_.end()) return prepare();
  std::unique_ptr<EngineStatement> statement = std::move(kept->second);
  kept_.erase(kept);
  return statement;
}

void StatementCache::Give(const QString& sql, std::unique_ptr<EngineStatement> statement, quint64 schema) {
  statement->Reset();
  if (schema != schema_) return;
  if (kept_.size() >= kMostKept) kept_.clear();
  kept_.try_emplace(sql, std::move(statement));
}
