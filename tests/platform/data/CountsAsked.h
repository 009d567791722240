#pragma once

#include "platform/sqlite/Connection.h"

#include <QString>

#include <sqlite3.h>

#include <cstring>
#include <memory>

// The counts the engine is asked for on a file's connection (the datasets'
// own): those whose statement also holds the text given.
class CountsAsked {
 public:
  explicit CountsAsked(const QString& file, const char* alsoHolding = "")
      : connection_(OpenConnection(file)), alsoHolding_(alsoHolding) {
    sqlite3_trace_v2(connection_->Handle(), SQLITE_TRACE_STMT, &CountsAsked::seen, this);
  }
  ~CountsAsked() { sqlite3_trace_v2(connection_->Handle(), 0, nullptr, nullptr); }
  int Counts() const { return counts_; }

 private:
  static int seen(unsigned, void* context, void*, void* sql) {
    auto* asked = static_cast<CountsAsked*>(context);
    const auto* text = static_cast<const char*>(sql);
    if (std::strstr(text, "COUNT(") && std::strstr(text, asked->alsoHolding_)) ++asked->counts_;
    return 0;
  }
  std::shared_ptr<Connection> connection_;
  const char* alsoHolding_;
  int counts_ = 0;
};
