#include "platform/DesktopServices.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// One of the program's standard streams sent to a file while it lives.
class CapturedStream {
 public:
  explicit CapturedStream(int stream) : stream_(stream), previous_(dup(stream)) {
    file_.open();
    dup2(file_.handle(), stream_);
  }
  ~CapturedStream() {
    dup2(previous_, stream_);
    close(previous_);
  }
  QByteArray Written() {
    fflush(stream_ == STDOUT_FILENO ? stdout : stderr);
    QFile read(file_.fileName());
    read.open(QIODevice::ReadOnly);
    return read.readAll();
  }

 private:
  int stream_;
  int previous_;
  QTemporaryFile file_;
};

QString readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

}  // namespace

// The desktop's opener is started with what it is given as one argument
// and whatever it writes stays off the program's terminal; an address it
// would take for an option opens nothing.
TEST(DesktopServices, TheOpenerGetsTheAddressAndWritesNothingToTheTerminal) {
  const TemporaryFolder folder;
  const QString calls = folder.File(QStringLiteral("llamadas"));
  const QString opener = folder.File(QStringLiteral("xdg-open"));
  // It writes to its streams before it notes the call.
  QFile script(opener);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write("#!/bin/sh\necho ruido; echo error >&2\nprintf '%s\\n' \"$*\" >> '" + calls.toLocal8Bit() + "'\n");
  script.close();
  QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", folder.Path().toLocal8Bit() + ':' + path);
  QStringList written;
  {
    CapturedStream out(STDOUT_FILENO), err(STDERR_FILENO);
    DesktopServices& desktop = DesktopServices::Default();
    EXPECT_TRUE(desktop.OpenFile(folder.File(QStringLiteral("Manual de ayuda.chm"))));
    EXPECT_TRUE(desktop.OpenUrl(QStringLiteral("mailto:ana@zem.es")));
    EXPECT_FALSE(desktop.OpenUrl(QStringLiteral("--version")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return readAll(calls).count(u'\n') >= 2; }, 20000));
    written << QString::fromLocal8Bit(out.Written()) << QString::fromLocal8Bit(err.Written());
  }
  qputenv("PATH", path);
  QStringList lines = readAll(calls).split(u'\n', Qt::SkipEmptyParts);
  lines.sort();
  EXPECT_EQ(lines, (QStringList{QStringLiteral("file://") + folder.File(QStringLiteral("Manual%20de%20ayuda.chm")),
                                QStringLiteral("mailto:ana@zem.es")}));
  EXPECT_EQ(written, (QStringList{QString(), QString()}));
}
