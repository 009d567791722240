#include "platform/report/PrintQueue.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// The system's spooler, told to pass the bytes through untouched.
class SpoolerQueue : public PrintQueue {
 public:
  bool SendRaw(const QString& printer, const QString& document, const QByteArray& bytes) override {
    return Spool({QStringLiteral("-d"), printer, QStringLiteral("-t"), document, QStringLiteral("-o"), QStringLiteral("raw"),
                  QStringLiteral("-")},
                 bytes);
  }
  bool SendPdf(const QString& printer, const QString& document, const QString& file) override {
    QStringList arguments;
    if (!printer.isEmpty()) arguments << QStringLiteral("-d") << printer;
    return Spool(arguments << QStringLiteral("-t") << document << QStringLiteral("--") << file, {});
  }

 private:
  static bool Spool(const QStringList& arguments, const QByteArray& input) {
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty()) return false;
    QProcess process;
    process.start(lp, arguments);
    if (!process.waitForStarted()) return false;
    process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  }
};

}  // namespace

PrintQueue& PrintQueue::Default() {
  static SpoolerQueue queue;
  return queue;
}
