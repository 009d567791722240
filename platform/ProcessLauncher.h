#pragma once

#include "platform/Seam.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Starts other programs with argument lists, never through a shell line. The
// program is looked up in its own folder (the working folder when it names
// none) without regard to case; a Windows name such as "XXXXWIN.EXE" also
// finds the Linux binary "xxxxwin" there. A bare name not found in that
// folder is looked up in the PATH.
class ProcessLauncher {
 public:
  // Why the program of the last call that could not start it did not start.
  enum class StartFailure { None, FileNotFound, PathNotFound, NotExecutable };

  virtual ~ProcessLauncher() = default;
  // Starts the program and returns at once; false when it could not start.
  virtual bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) = 0;
  // Starts the program and waits for it, processing window messages
  // meanwhile; its exit code, or nothing when it could not start or crashed.
  virtual std::optional<int> Run(const QString& program, const QStringList& arguments,
                                 const QString& workingFolder) = 0;
  // Runs the program as Run does, with input on its standard input and its
  // standard output and error kept together in output.
  virtual std::optional<int> RunPiped(const QString& program, const QStringList& arguments,
                                      const QString& workingFolder, const QByteArray& input, QByteArray& output) = 0;
  // None after a call whose program started (a Run that gave nothing then
  // means the program crashed). A launcher that cannot tell says FileNotFound.
  virtual StartFailure LastFailure() const { return StartFailure::FileNotFound; }

  static ProcessLauncher& Default();
};

using ProcessLauncherSeam = Seam<ProcessLauncher>;
