#pragma once

#include "platform/Seam.h"

#include <QString>
#include <QStringList>

#include <optional>

// Starts other programs with argument lists, never through a shell line.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the program and returns at once; false when it could not start.
  virtual bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;
  // Starts the program and waits for it, processing window messages
  // meanwhile; its exit code, or nothing when it could not start or crashed.
  virtual std::optional<int> Run(const QString& program, const QStringList& arguments,
                                 const QString& workingFolder) = 0;

  static ProcessLauncher& Default();
};

using ProcessLauncherSeam = Seam<ProcessLauncher>;
