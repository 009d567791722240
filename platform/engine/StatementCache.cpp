#include "platform/engine/StatementCache.h"

#include <algorithm>

namespace {

// Texts built from a dataset's order and conditions are few per table; a
// connection that runs ever new texts starts again rather than grow.
constexpr std::size_t kMostKept = 256;

}  // namespace

StatementCache::~StatementCache() = default;

void StatementCache::forget() {
  kept_.clear();
  recentCount_ = nextRecent_ = 0;
  ++generation_;
}

// Characters shared with the kept text, or with the caller's text last
// found as it, are that text: neither is written while shared, nor freed
// while held here.
StatementCache::Kept::value_type* StatementCache::find(const QString& sql) {
  const auto shared = [&sql](const QString& text) {
    return text.constData() == sql.constData() && text.size() == sql.size();
  };
  const auto recent = recent_.begin(), recentEnd = recent_.begin() + static_cast<std::ptrdiff_t>(recentCount_);
  for (auto entry = recent; entry != recentEnd; ++entry)
    if (shared((*entry)->first) || shared((*entry)->second.text)) return *entry;
  const auto kept = kept_.find(sql);
  if (kept == kept_.end()) return nullptr;
  Kept::value_type* const found = &*kept;
  found->second.text = sql;
  if (std::find(recent, recentEnd, found) == recentEnd) {
    recent_[nextRecent_] = found;
    nextRecent_ = (nextRecent_ + 1) % kRecent;
    recentCount_ = std::min(recentCount_ + 1, kRecent);
  }
  return found;
}

std::unique_ptr<EngineStatement> StatementCache::Take(const QString& sql, Lease& lease, const Prepare& prepare) {
  if (keptSchema_ != schema_) {
    forget();
    keptSchema_ = schema_;
  }
  lease = Lease();
  lease.schema_ = schema_;
  if (Kept::value_type* const kept = find(sql)) {
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
