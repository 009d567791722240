#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QByteArray kOld = "[Configuraci\xF3n]\r\nModoAdministradorActivado=SI\r\n";

// Job "ini-keys": writes the keys <ZEM_PREFIX>0 to <ZEM_PREFIX>99 into the
// section "Claves" of the INI file ZEM_INI through one IniFile, once the
// line "go" arrives; reports "ready" before and "done" after.
void iniKeysJob() {
  IniFile ini(qEnvironmentVariable("ZEM_INI"));
  const QString prefix = qEnvironmentVariable("ZEM_PREFIX");
  SecondProcess::Report(QStringLiteral("ready"));
  if (SecondProcess::NextLine() != u"go") return;
  for (int i = 0; i < 100; ++i) ini.WriteString(QStringLiteral("Claves"), prefix + QString::number(i), QString::number(i));
  SecondProcess::Report(QStringLiteral("done"));
}

[[maybe_unused]] const bool registered = SecondProcess::RegisterJob(QStringLiteral("ini-keys"), iniKeysJob);

QStringList leftovers(const TemporaryFolder& folder) {
  return QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden, QDir::Name).filter(QStringLiteral(".tmp"));
}

// Every way of writing a whole file.
std::vector<std::pair<const char*, std::function<void()>>> writesOf(const QString& path, const QString& text) {
  return {
      {"WriteBytes", [=] { TextFile::WriteBytes(path, text.toLatin1()); }},
      {"Write", [=] { TextFile::Write(path, text); }},
      {"SaveToFile", [=] { StringList({text}).SaveToFile(path); }},
      {"WriteString", [=] { IniFile(path).WriteString(QStringLiteral("Configuración"), QStringLiteral("Clave"), text); }},
      {"UpdateTogether",
       [=] { TextFile::UpdateTogether({path}, [&](const QList<QByteArray>&) { return QList{text.toLatin1()}; }); }},
  };
}

}  // namespace

// A file marked read-only keeps its content, whoever runs the program.
TEST(TextFile, AReadOnlyFileIsNotReplaced) {
  TemporaryFolder folder;
  const QString path = folder.File("ZEMWIN.INI");
  for (const auto& [name, write] : writesOf(path, QStringLiteral("nuevo"))) {
    TextFile::WriteBytes(path, kOld);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_THROW(write(), Exception) << name;
    EXPECT_EQ(TextFile::ReadBytes(path), kOld) << name;
    EXPECT_EQ(leftovers(folder), QStringList()) << name;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
}

// A write that the disk cannot hold raises and leaves the old file whole,
// whether it fails while written or only when flushed.
TEST(TextFile, AFullDiskLeavesTheOldFileAndRaises) {
  TemporaryFolder folder;
  const QString path = folder.File("ZEMWIN.INI");
  for (const int size : {200, 100000}) {
    const QString text(size, u'x');
    for (const auto& [name, write] : writesOf(path, text)) {
      TextFile::WriteBytes(path, kOld);
      {
        const FullDisk full(64);
        EXPECT_THROW(write(), Exception) << name << ' ' << size;
      }
      EXPECT_EQ(TextFile::ReadBytes(path), kOld) << name << ' ' << size;
      EXPECT_EQ(leftovers(folder), QStringList()) << name << ' ' << size;
    }
  }
}

// Two other copies and this one write their own keys into one file at once.
TEST(TextFile, CopiesWritingAtOnceKeepEachOthersKeys) {
  TemporaryFolder folder;
  const QString path = folder.File("ZEMWIN.INI");
  TextFile::WriteBytes(path, kOld);
  std::vector<std::unique_ptr<SecondProcess>> copies;
  for (const char* prefix : {"A", "B"}) {
    copies.push_back(std::make_unique<SecondProcess>(
        QStringLiteral("ini-keys"),
        QMap<QString, QString>{{QStringLiteral("ZEM_INI"), path}, {QStringLiteral("ZEM_PREFIX"), QString::fromLatin1(prefix)}}));
    ASSERT_EQ(copies.back()->ReadReport(), u"ready");
  }
  for (auto& copy : copies) copy->Send(QStringLiteral("go"));
  IniFile ini(path);
  for (int i = 0; i < 100; ++i) ini.WriteString(QStringLiteral("Claves"), u'C' + QString::number(i), QString::number(i));
  for (auto& copy : copies) {
    EXPECT_EQ(copy->ReadReport(), u"done");
    EXPECT_EQ(copy->Finish(), 0);
  }

  const IniFile written(path);
  EXPECT_EQ(written.ReadSection(QStringLiteral("Claves")).size(), 300);
  for (const char* prefix : {"A", "B", "C"})
    for (int i = 0; i < 100; ++i)
      EXPECT_EQ(written.ReadString(QStringLiteral("Claves"), QString::fromLatin1(prefix) + QString::number(i), {}),
                QString::number(i))
          << prefix << i;
  EXPECT_EQ(written.ReadString(QStringLiteral("Configuración"), QStringLiteral("ModoAdministradorActivado"), {}), u"SI");
}
