#include "platform/data/RemovedRecords.h"

#include <QHash>

#include <limits>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// A deleted record is remembered by a hash of its name, for as long as the
// process lives: a bookmark made before any number of deletions still finds
// its record, and the entry stays small.
std::size_t hashOf(const QString& record) { return qHash(record, std::size_t{0x5a454d}); }

struct Renamed {
  QString record;
  QList<QVariant> key;
};

constexpr int kRemoved = -1;

struct Removals {
  qint64 count = 0;
  qint64 allAt = 0;
  // What befell each record name, by its hash and the count after it: a
  // deletion (kRemoved), or a new name (the place in renamed). A deletion
  // right after another of the same name tells nothing more and replaces it.
  std::map<std::pair<std::size_t, qint64>, int> events;
  std::vector<Renamed> renamed;
  std::unordered_map<QString, qint64> rewrittenAt;  // record -> count after its last rewrite
};

// Past this many, records rewritten earlier must hold what their bookmarks
// remember.
constexpr std::size_t kMostRewrites = 4096;

struct Registry {
  std::mutex mutex;
  std::map<QString, Removals> tables;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

namespace RemovedRecords {

qint64 Count(const QString& table) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  const auto found = all.tables.find(table);
  return found == all.tables.end() ? 0 : found->second.count;
}

void Remove(const QString& table, const QString& record) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  Removals& removals = all.tables[table];
  const std::size_t hash = hashOf(record);
  auto next = removals.events.lower_bound({hash, std::numeric_limits<qint64>::max()});
  if (next != removals.events.begin()) {
    const auto last = std::prev(next);
    if (last->first.first == hash && last->second == kRemoved) removals.events.erase(last);
  }
  removals.events.emplace_hint(next, std::pair{hash, ++removals.count}, kRemoved);
}

void Rename(const QString& table, const QString& record, const QString& renamed, const QList<QVariant>& key) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  Removals& removals = all.tables[table];
  removals.renamed.push_back({renamed, key});
  removals.events.emplace(std::pair{hashOf(record), ++removals.count}, static_cast<int>(removals.renamed.size() - 1));
}

void Rewrite(const QString& table, const QString& record) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  Removals& removals = all.tables[table];
  if (removals.rewrittenAt.size() >= kMostRewrites) removals.rewrittenAt.clear();
  removals.rewrittenAt[record] = ++removals.count;
}

bool RewrittenSince(const QString& table, const QString& record, qint64 count) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  const auto found = all.tables.find(table);
  if (found == all.tables.end()) return false;
  const auto rewritten = found->second.rewrittenAt.find(record);
  return rewritten != found->second.rewrittenAt.end() && rewritten->second > count;
}

void RemoveAll(const QString& table) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  Removals& removals = all.tables[table];
  removals.allAt = ++removals.count;
  removals.events.clear();
  removals.renamed.clear();
  removals.rewrittenAt.clear();
}

// The first thing that befell the name after the count, then the first
// that befell its new name after that, and so on.
std::optional<Followed> Follow(const QString& table, const QString& record, qint64 count) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  Followed followed{record, {}, false};
  const auto found = all.tables.find(table);
  if (found == all.tables.end()) return followed;
  const Removals& removals = found->second;
  if (removals.allAt > count) return std::nullopt;
  for (qint64 since = count;;) {
    const std::size_t hash = hashOf(followed.record);
    const auto next = removals.events.upper_bound({hash, since});
    if (next == removals.events.end() || next->first.first != hash) return followed;
    if (next->second == kRemoved) return std::nullopt;
    const Renamed& renamed = removals.renamed[static_cast<std::size_t>(next->second)];
    followed = {renamed.record, renamed.key, true};
    since = next->first.second;
  }
}

}  // namespace RemovedRecords
