#include "platform/ProcessLauncher.h"

#include <QEventLoop>
#include <QProcess>

namespace {

class SystemLauncher : public ProcessLauncher {
 public:
  bool Start(const QString& program, const QStringList& arguments, const QString& workingFolder) override {
    return QProcess::startDetached(program, arguments, workingFolder);
  }

  std::optional<int> Run(const QString& program, const QStringList& arguments,
                         const QString& workingFolder) override {
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    bool failedToStart = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
      if (error == QProcess::FailedToStart) {
        failedToStart = true;
        loop.quit();
      }
    });
    process.start(program, arguments);
    if (!failedToStart && process.state() != QProcess::NotRunning) loop.exec();
    if (failedToStart || process.exitStatus() == QProcess::CrashExit) return std::nullopt;
    return process.exitCode();
  }
};

}  // namespace

ProcessLauncher& ProcessLauncher::Default() {
  static SystemLauncher launcher;
  return launcher;
}
