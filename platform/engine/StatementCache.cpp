#include "platform/engine/StatementCache.h"

namespace {

// Texts built from a dataset's order and conditions are few per table; a
// connection that runs ever new texts starts again rather than grow.
constexpr std::size_t kMostKept = 256;

}  // namespace

StatementCache::~StatementCache() = default;

void StatementCache::forget() {
  kept_.clear();
  ++generation_;
}

std::unique_ptr<EngineStatement> StatementCache::Take(const QString& sql, Lease& lease, const Prepare& prepare) {
  if (keptSchema_ != schema_) {
    forget();
    keptSchema_ = schema_;
  }
  lease = Lease();
  lease.schema_ = schema_;
  if (const auto kept = kept_.find(sql); kept != kept_.end()) {
    if (kept->second.lent) return prepare();  // in use: this one is not kept
    lease.slot_ = &kept->second;
    lease.slot_->lent = true;
    lease.generation_ = generation_;
    return std::move(lease.slot_->statement);
  }
  std::unique_ptr<EngineStatement> statement = prepare();
  if (kept_.size() >= kMostKept) forget();
  lease.slot_ = &kept_.try_emplace(sql).first->second;
  lease.slot_->lent = true;
  lease.generation_ = generation_;
  return statement;
}

void StatementCache::Give(const Lease& lease, std::unique_ptr<EngineStatement> statement) {
  statement->Reset();
  if (!lease.slot_ || lease.generation_ != generation_ || lease.schema_ != schema_) return;
  lease.slot_->statement = std::move(statement);
  lease.slot_->lent = false;
}
