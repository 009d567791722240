#include "platform/data/RemovedRecords.h"

#include <QHash>

#include <map>
#include <mutex>
#include <unordered_map>

namespace {

struct Removals {
  qint64 count = 0;
  qint64 allAt = 0;
  std::unordered_map<QString, qint64> at;  // record -> count after its deletion
  std::unordered_map<QString, qint64> rewrittenAt;  // record -> count after its last rewrite
};

// Past this many, every earlier bookmark of the table is refused rather
// than the process keep one entry for each record it ever deleted; and
// records rewritten earlier must hold what their bookmarks remember.
constexpr std::size_t kMostRemembered = 4096;

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
  if (removals.at.size() >= kMostRemembered) {
    removals.allAt = ++removals.count;
    removals.at.clear();
    return;
  }
  removals.at[record] = ++removals.count;
}

void Rewrite(const QString& table, const QString& record) {
  Registry& all = registry();
  const std::lock_guard lock(all.mutex);
  Removals& removals = all.tables[table];
  if (removals.rewrittenAt.size() >= kMostRemembered) removals.rewrittenAt.clear();
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
  const auto removed = removals.at.find(record);
  return removed != removals.at.end() && removed->second > count;
}

}  // namespace RemovedRecords
