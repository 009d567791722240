#include "platform/ProcessLauncher.h"

#include "platform/Paths.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

QString withoutWindowsExtension(const QString& name) {
  return name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ? name.chopped(4) : QString();
}

// The program's file in the folder, by its name or by its name without ".EXE".
QString findIn(const QString& folder, const QString& name) {
  for (const QString& candidate : {name, withoutWindowsExtension(name)}) {
    if (candidate.isEmpty()) continue;
    const QString path = Paths::FindFile(folder, candidate);
    if (QFileInfo::exists(path)) return QFileInfo(path).absoluteFilePath();
  }
  return {};
}

QString findInPath(const QString& name) {
  for (const QString& candidate : {name, withoutWindowsExtension(name)}) {
    if (candidate.isEmpty()) continue;
    const QString path = QStandardPaths::findExecutable(candidate);
    if (!path.isEmpty()) return path;
  }
  return {};
}

class SystemLauncher : public ProcessLauncher {
 public:
  bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) override {
    const QString path = locate(program, workingFolder);
    if (path.isEmpty()) return false;
    if (QProcess::startDetached(path, arguments, workingFolder)) return true;
    lastFailure_ = StartFailure::NotExecutable;
    return false;
  }

  std::optional<int> Run(const QString& program, const QStringList& arguments,
                         const QString& workingFolder) override {
    return run(program, arguments, workingFolder, nullptr, nullptr);
  }

  std::optional<int> RunPiped(const QString& program, const QStringList& arguments, const QString& workingFolder,
                              const QByteArray& input, QByteArray& output) override {
    return run(program, arguments, workingFolder, &input, &output);
  }

  StartFailure LastFailure() const override { return lastFailure_; }

 private:
  // The program's executable file; empty, with the reason kept, when there is none.
  QString locate(const QString& program, const QString& workingFolder) {
    lastFailure_ = StartFailure::None;
    const QString internal = Paths::Internal(program);
    const QDir base(workingFolder.isEmpty() ? QDir::currentPath() : workingFolder);
    QString path;
    if (Paths::HasSeparator(internal)) {
      const QFileInfo named(base.filePath(internal));
      if (!named.dir().exists()) {
        lastFailure_ = StartFailure::PathNotFound;
        return {};
      }
      path = findIn(named.dir().path(), named.fileName());
    } else if (!internal.isEmpty()) {
      path = findIn(base.path(), internal);
      if (path.isEmpty()) path = findInPath(internal);
    }
    if (path.isEmpty()) {
      lastFailure_ = StartFailure::FileNotFound;
      return {};
    }
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable()) {
      lastFailure_ = StartFailure::NotExecutable;
      return {};
    }
    return path;
  }

  // Without input and output the program's channels are this process's.
  std::optional<int> run(const QString& program, const QStringList& arguments, const QString& workingFolder,
                         const QByteArray* input, QByteArray* output) {
    const QString path = locate(program, workingFolder);
    if (path.isEmpty()) return std::nullopt;
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.setProcessChannelMode(output ? QProcess::MergedChannels : QProcess::ForwardedChannels);
    QEventLoop loop;
    bool failedToStart = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
      if (error == QProcess::FailedToStart) {
        failedToStart = true;
        loop.quit();
      }
    });
    if (output)
      QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop,
                       [&process, output] { output->append(process.readAllStandardOutput()); });
    process.start(path, arguments);
    if (input && !failedToStart && process.state() != QProcess::NotRunning) {
      process.write(*input);
      process.closeWriteChannel();
    }
    if (!failedToStart && process.state() != QProcess::NotRunning) loop.exec();
    // Once the application was told to end, an event loop returns at once:
    // the program is still waited for.
    if (!failedToStart && process.state() != QProcess::NotRunning) process.waitForFinished(-1);
    if (failedToStart) {
      lastFailure_ = StartFailure::NotExecutable;
      return std::nullopt;
    }
    if (output) output->append(process.readAllStandardOutput());
    if (process.exitStatus() == QProcess::CrashExit) return std::nullopt;
    return process.exitCode();
  }

  StartFailure lastFailure_ = StartFailure::None;
};

}  // namespace

ProcessLauncher& ProcessLauncher::Default() {
  static SystemLauncher launcher;
  return launcher;
}
