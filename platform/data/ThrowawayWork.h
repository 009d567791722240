#pragma once

#include "platform/engine/EngineConnection.h"

#include <QString>

#include <memory>

// While it lives, the commits on the database a dataset names do not wait
// for the disk (EngineConnection::ThrowawayCommits): for a temporary
// table's work, which nobody needs back after the machine stops.
class ThrowawayWork {
 public:
  explicit ThrowawayWork(const QString& databaseName);
  ~ThrowawayWork();
  ThrowawayWork(const ThrowawayWork&) = delete;
  ThrowawayWork& operator=(const ThrowawayWork&) = delete;

 private:
  std::shared_ptr<EngineConnection> connection_;
  std::unique_ptr<EngineConnection::ThrowawayCommits> commits_;
};
