#pragma once

#include "platform/engine/EngineConnection.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

// The counts the engine answered, kept while the database's data stays as
// it was: a grid asks at every move and refresh, and the engine counts by
// reading every record counted.
class CountMemo {
 public:
  // What count answers for the statement with its arguments; what context
  // names (a filter's expression) tells apart statements of the same text.
  int Count(EngineConnection& connection, const QString& sql, const QList<QVariant>& arguments, const QString& context,
            const std::function<int()>& count);
  void Clear();

 private:
  struct Kept {
    QString sql;
    QList<QVariant> arguments;
    int count = 0;
  };
  std::optional<EngineConnection::DataVersion> version_;
  std::vector<Kept> kept_;  // the latest last
};
