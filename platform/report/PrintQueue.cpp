#include "platform/report/PrintQueue.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// The system's spooler, told to pass the bytes through untouched.
class SpoolerQueue : public PrintQueue {
 public:
  bool SendRaw(const QString& printer, const QString& document, const QByteArray& bytes) override {
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty()) return false;
    QProcess process;
    process.start(lp, {QStringLiteral("-d"), printer, QStringLiteral("-t"), document, QStringLiteral("-o"),
                       QStringLiteral("raw"), QStringLiteral("-")});
    if (!process.waitForStarted()) return false;
    process.write(bytes);
    process.closeWriteChannel();
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  }
};

}  // namespace

PrintQueue& PrintQueue::Default() {
  static SpoolerQueue queue;
  return queue;
}
