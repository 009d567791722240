#include "platform/data/ThrowawayWork.h"

#include "platform/data/Session.h"

// A database that cannot be opened, or that refuses, keeps its commits as
// they were: the work itself then tells its failure.
ThrowawayWork::ThrowawayWork(const QString& databaseName) {
  try {
    connection_ = Session::Default().OpenDatabase(databaseName);
    commits_ = std::make_unique<EngineConnection::ThrowawayCommits>(*connection_);
  } catch (const std::exception&) {
    commits_.reset();
  }
}

ThrowawayWork::~ThrowawayWork() = default;
