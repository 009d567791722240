#pragma once

#include <QString>

// A running process told apart from a later one that reuses its number: the
// process id with the moment the process started.
struct ProcessIdentity {
  qint64 pid = 0;
  QString started;

  static ProcessIdentity Current();
  bool IsAlive() const;
};
