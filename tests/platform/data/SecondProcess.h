#pragma once

#include <QMap>
#include <QProcess>
#include <QString>

// Another running instance of this test program, doing one of the data
// layer's jobs on request (see SecondProcess.cpp for the jobs). It talks in
// lines: it reports with "HELPER <text>" on its output and waits for lines
// on its input.
class SecondProcess {
 public:
  SecondProcess(const QString& job, const QMap<QString, QString>& settings);
  ~SecondProcess();

  // The next report, without its prefix; fails the test after a minute.
  QString ReadReport();
  void Send(const QString& line);
  int Finish();  // waits for the end; the exit code
  void Kill();

 private:
  QProcess process_;
  QByteArray pending_;
};
