#include "platform/data/RemovedRecords.h"

#include <QHash>

#include <map>
#include <mutex>
#include <unordered_map>

namespace {

// A deleted record is remembered by a hash of its name, for as long as the
// process lives: a bookmark made before any number of deletions still finds
// its record, and the entry stays small.
std::size_t hashOf(const QString& record) { return qHash(record, std::size_t{0x5a454d}); }

struct Removals {
  qint64 count = 0;
  qint64 allAt = 0;
  std::unordered_map<std::size_t, qint64> at;  // record's hash -> count after its deletion
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
  removals.at[hashOf(record)] = ++removals.count;
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
  removals.at.clear();
  removals.rewrittenAt.clear();
}

bool RemovedSince(const QString& table, const QString& record, qint64 count) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  const auto found = all.tables.find(table);
  if (found == all.tables.end()) return false;
  const Removals& removals = found->second;
  if (removals.allAt > count) return true;
  const auto removed = removals.at.find(hashOf(record));
  return removed != removals.at.end() && removed->second > count;
}

}  // namespace RemovedRecords
