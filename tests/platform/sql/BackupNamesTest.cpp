#include "platform/sql/BackupFiles.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <unistd.h>

namespace {

constexpr char kFolder[] = "ZEM_NAMES_FOLDER";
constexpr int kNames = 400;

QString NameFile(const QString& folder, int name) {
  return QDir(folder).filePath(u"dbb_EMP1_%1.bak"_qs.arg(name, 14, 10, u'0'));
}

// Job "names-in-a-row": on the go, walks the same names as the other
// programs, and for each one it holds writes the backup as a new file and
// lets the name go; reports how many names it held whose file was there
// already.
void namesInARow() {
  const QString folder = qEnvironmentVariable(kFolder);
  SecondProcess::Report(u"ready"_qs);
  SecondProcess::NextLine();
  int taken = 0;
  for (int name = 0; name < kNames; ++name) {
    const QString file = NameFile(folder, name);
    if (!ReserveBackupName(file)) continue;
    // Written beside, then put in place as the server does, but never over
    // a file that is there.
    const QString written = QDir(folder).filePath(u"written-%1"_qs.arg(QCoreApplication::applicationPid()));
    QFile(written).open(QIODevice::WriteOnly);
    if (::link(QFile::encodeName(written).constData(), QFile::encodeName(file).constData()) != 0) ++taken;
    QFile::remove(written);
    ReleaseBackupName(file);
  }
  SecondProcess::Report(QString::number(taken));
}

[[maybe_unused]] const bool registered = SecondProcess::RegisterJob(u"names-in-a-row"_qs, namesInARow);

}  // namespace

// Programs choosing the same names at once: a name is held by one of them
// at most, and never once another has written its file.
TEST(BackupNames, ANameIsNeverHeldOnceAnotherProgramHasWrittenItsFile) {
  const TemporaryFolder folder;
  // More programs than processors, so that one is often put aside between two steps.
  constexpr int kPrograms = 24;
  std::vector<std::unique_ptr<SecondProcess>> programs;
  for (int program = 0; program < kPrograms; ++program) {
    programs.push_back(std::make_unique<SecondProcess>(u"names-in-a-row"_qs, QMap<QString, QString>{{kFolder, folder.Path()}}));
    ASSERT_EQ(programs.back()->ReadReport(), u"ready"_qs);
  }
  for (const auto& program : programs) program->Send(u"go"_qs);
  for (const auto& program : programs) {
    EXPECT_EQ(program->ReadReport(), u"0"_qs);
    EXPECT_EQ(program->Finish(), 0);
  }
  // Of programs that meet on a name, each may give way; no name is left held.
  const QStringList left = QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(left.filter(u".reserva"_qs), QStringList());
  EXPECT_EQ(left.filter(u"written-"_qs), QStringList());
}
