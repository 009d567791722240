#include "platform/ConnectionString.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "platform/data/Session.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

// Values and names typed by users never make a settings line or key of their own.

TEST(SettingsLines, AValueWithLineBreaksStaysOneLine) {
  TemporaryFolder folder;
  const QString path = folder.File("PRUEBA.INI");
  IniFile(path).WriteString(u"S"_qs, u"K"_qs, u"a\r\n[Otra]\r\nX=1\rY\nZ"_qs);
  EXPECT_EQ(IniFile(path).ReadString(u"S"_qs, u"K"_qs, QString()), u"a  [Otra]  X=1 Y Z"_qs);
  EXPECT_EQ(IniFile(path).ReadSections(), QStringList{u"S"_qs});

  StringList lista;
  lista.SetValue(u"K"_qs, u"a\r\nX=1"_qs);
  EXPECT_EQ(lista.Lines(), QStringList{u"K=a  X=1"_qs});
  EXPECT_THROW(lista.SetValue(u"a=b"_qs, u"1"_qs), Exception);
}

TEST(SettingsLines, NamesThatWouldNotReadBackAreRefused) {
  TemporaryFolder folder;
  const QString path = folder.File("PRUEBA.INI");
  TextFile::WriteBytes(path, "[S]\r\nK=1\r\n");
  const std::pair<const char16_t*, const char16_t*> refused[] = {
      {u"", u"K"}, {u"a]b", u"K"}, {u" S", u"K"}, {u"S\nX", u"K"}, {u"S", u""},
      {u"S", u"a=b"}, {u"S", u";k"}, {u"S", u"[k]"}, {u"S", u"k\r"}, {u"S", u"k "}};
  for (const auto& [section, key] : refused) {
    EXPECT_THROW(IniFile(path).WriteString(QString::fromUtf16(section), QString::fromUtf16(key), u"v"_qs), Exception)
        << QString::fromUtf16(section).toStdString() << '|' << QString::fromUtf16(key).toStdString();
    EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[S]\r\nK=1\r\n"));
  }
}

TEST(SettingsLines, ConnectionStringValuesCannotSetOtherKeys) {
  for (const char16_t* raw : {u"plain", u"x;Initial Catalog=OTRO", u"\"q\";", u"it's;", u"a\"b'c;", u" b ", u""}) {
    const QString value = QString::fromUtf16(raw);
    const StringList params = Session::ConnectionStringParams(u"Password="_qs + ConnectionString::Quoted(value) +
                                                              u";Initial Catalog=EMP"_qs);
    EXPECT_EQ(params.Lines(), QStringList({u"PASSWORD="_qs + value, u"DATABASE NAME=EMP"_qs})) << value.toStdString();
  }
}
