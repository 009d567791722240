#include "platform/engine/EngineConnection.h"

#include "platform/engine/EngineStatement.h"

#include <exception>
#include <utility>
#include <vector>

std::unique_ptr<EngineStatement> EngineConnection::TakeKept(const QString& sql, StatementCache::Lease&) {
  return Prepare(sql);
}

void EngineConnection::GiveKept(const StatementCache::Lease&, std::unique_ptr<EngineStatement>) {}

EngineConnection::ThrowawayCommits::~ThrowawayCommits() {
  if (--connection_.throwawayCommits_ != 0) return;
  try {
    connection_.commitsWaitForDisk(true);
  } catch (const std::exception&) {
    // the engine applies it before its next transaction
  }
}

void EngineConnection::Rollback() {
  if (undoTransaction()) tellRollbackListeners();
}

void EngineConnection::tellRollbackListeners() {
  // A listener may end another's life (a dataset closing a second one).
  std::vector<int> ids;
  for (const auto& [id, listener] : rollbackListeners_) ids.push_back(id);
  std::exception_ptr failure;
  for (const int id : ids) {
    const auto listener = rollbackListeners_.find(id);
    if (listener == rollbackListeners_.end()) continue;
    try {
      listener->second();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

std::unique_ptr<EngineConnection::RollbackListener> EngineConnection::ListenToRollbacks(std::function<void()> listener) {
  rollbackListeners_[++lastListener_] = std::move(listener);
  return std::make_unique<RollbackListener>(*this, lastListener_);
}

void EngineConnection::HoldOpen(const void* holder, std::function<void()> finish) {
  finishHeld();
  holder_ = holder;
  finishHeld_ = std::move(finish);
}

void EngineConnection::LetGo(const void* holder) {
  if (holder_ != holder) return;
  holder_ = nullptr;
  finishHeld_ = nullptr;
}

// Let go before it is called: reading the rest runs statements too.
void EngineConnection::finishHeld() const {
  if (!finishHeld_) return;
  const std::function<void()> finish = std::exchange(finishHeld_, nullptr);
  holder_ = nullptr;
  finish();
}
