#include "tests/platform/data/SecondProcess.h"

#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

constexpr auto kJobVariable = "ZEM_DATA_HELPER";
constexpr int kWaitMs = 60000;

QString setting(const char* name) { return qEnvironmentVariable(name); }

void report(const QString& text) { std::cout << "HELPER " << text.toStdString() << std::endl; }

std::string nextLine() {
  std::string line;
  std::getline(std::cin, line);
  return line;
}

// Job "post": appends a customer (ZEM_KEY) to CLIENTES of the folder
// ZEM_FOLDER with the busy timeout ZEM_BUSY; reports "locked <ms> <message>"
// and tries again on the line "retry", or reports "posted".
void postJob() {
  ConnectionSettings::SetBusyTimeout(setting("ZEM_BUSY").toInt());
  Table table;
  table.SetDatabaseName(setting("ZEM_FOLDER"));
  table.SetTableName(QStringLiteral("CLIENTES"));
  table.Open();
  table.Append();
  table.FieldByName(QStringLiteral("Codigo")).SetAsInteger(setting("ZEM_KEY").toInt());
  table.FieldByName(QStringLiteral("Nombre")).SetAsString(QStringLiteral("Segundo proceso"));
  for (;;) {
    QElapsedTimer timer;
    timer.start();
    try {
      table.Post();
      report(QStringLiteral("posted"));
      return;
    } catch (const EDatabaseError& error) {
      report(QStringLiteral("locked %1 %2").arg(timer.elapsed()).arg(error.EngineMessage()));
      if (nextLine() != "retry") return;
    }
  }
}

// Job "session": takes a session number in the network folder ZEM_FOLDER,
// reports "session <n>" and holds it until its input ends.
void sessionJob() {
  Session session;
  session.SetNetFileDir(setting("ZEM_FOLDER"));
  report(QStringLiteral("session %1").arg(session.SessionNumber()));
  nextLine();
}

class HelperJob : public ::testing::Test {
 public:
  void TestBody() override {
    const QString job = setting(kJobVariable);
    if (job == u"post")
      postJob();
    else if (job == u"session")
      sessionJob();
    else
      FAIL() << "unknown job " << job.toStdString();
  }
};

// Only an instance started as a second process has the job to run.
const bool registered = [] {
  if (qEnvironmentVariableIsEmpty(kJobVariable)) return false;
  ::testing::RegisterTest("SecondProcessJob", "Run", nullptr, nullptr, __FILE__, __LINE__,
                          []() -> ::testing::Test* { return new HelperJob; });
  return true;
}();

}  // namespace

SecondProcess::SecondProcess(const QString& job, const QMap<QString, QString>& settings) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QString::fromLatin1(kJobVariable), job);
  for (auto it = settings.begin(); it != settings.end(); ++it) environment.insert(it.key(), it.value());
  process_.setProcessEnvironment(environment);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SecondProcessJob.Run")});
  if (!process_.waitForStarted(kWaitMs)) ADD_FAILURE() << "the second process did not start";
}

SecondProcess::~SecondProcess() {
  if (process_.state() != QProcess::NotRunning) {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(kWaitMs)) Kill();
  }
}

QString SecondProcess::ReadReport() {
  for (;;) {
    const qsizetype end = pending_.indexOf('\n');
    if (end >= 0) {
      const QString line = QString::fromUtf8(pending_.left(end));
      pending_.remove(0, end + 1);
      if (line.startsWith(u"HELPER ")) return line.mid(7);
      continue;
    }
    if (!process_.waitForReadyRead(kWaitMs)) {
      ADD_FAILURE() << "no report from the second process";
      return QString();
    }
    pending_ += process_.readAllStandardOutput();
  }
}

void SecondProcess::Send(const QString& line) {
  process_.write((line + u'\n').toUtf8());
  process_.waitForBytesWritten(kWaitMs);
}

int SecondProcess::Finish() {
  process_.closeWriteChannel();
  if (!process_.waitForFinished(kWaitMs)) ADD_FAILURE() << "the second process did not end";
  return process_.exitCode();
}

void SecondProcess::Kill() {
  process_.kill();
  process_.waitForFinished(kWaitMs);
}
