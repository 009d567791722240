#include "platform/data/CountMemo.h"

#include <algorithm>

namespace {

// The total and the places of the few records a grid comes back to.
constexpr std::size_t kMostKept = 8;

}  // namespace

int CountMemo::Count(EngineConnection& connection, const QString& sql, const QList<QVariant>& arguments,
                     const QString& context, const std::function<int()>& count) {
  const std::optional<EngineConnection::DataVersion> version = connection.CurrentDataVersion();
  if (!version) return count();
  if (version != version_) {
    kept_.clear();
    version_ = version;
  }
  const QString key = context.isEmpty() ? sql : sql + QChar(0) + context;
  const auto found = std::find_if(kept_.begin(), kept_.end(),
                                  [&](const Kept& kept) { return kept.sql == key && kept.arguments == arguments; });
  if (found != kept_.end()) {
    // The last asked for is the last to go.
    std::rotate(found, found + 1, kept_.end());
    return kept_.back().count;
  }
  const int counted = count();
  if (kept_.size() >= kMostKept) kept_.erase(kept_.begin());
  kept_.push_back(Kept{key, arguments, counted});
  return counted;
}

void CountMemo::Clear() {
  kept_.clear();
  version_.reset();
}
