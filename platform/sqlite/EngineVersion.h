#pragma once

#include <QDateTime>

// The SQLite engine's own version: its version number (3045001 for 3.45.1),
// the number of the engine interface the program was built against, and the
// date of that engine's source.
struct EngineVersion {
  int number = 0;
  int interfaceNumber = 0;
  QDateTime sourceDate;
};

EngineVersion SqliteEngineVersion();
