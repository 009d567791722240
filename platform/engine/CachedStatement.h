#pragma once

#include "platform/engine/EngineStatement.h"
#include "platform/engine/StatementCache.h"

#include <QString>

#include <memory>

class EngineConnection;

// A statement of a connection's kept ones, lent for one use: it comes back
// reset, its bindings cleared, so none stays pending between uses.
class CachedStatement {
 public:
  CachedStatement(EngineConnection& connection, const QString& sql);
  ~CachedStatement();
  CachedStatement(const CachedStatement&) = delete;
  CachedStatement& operator=(const CachedStatement&) = delete;

  EngineStatement& operator*() const { return *statement_; }
  EngineStatement* operator->() const { return statement_.get(); }

 private:
  EngineConnection& connection_;
  StatementCache::Lease lease_;
  std::unique_ptr<EngineStatement> statement_;
};
