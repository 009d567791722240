#include "platform/ConnectionString.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "platform/data/Session.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

// Values and names typed by users never make a settings line of their own.

TEST(SettingsLines, AValueWithLineBreaksStaysOneLine) {
  TemporaryFolder folder;
  const QString path = folder.File("PRUEBA.INI");
  IniFile(path).WriteString(u"S"_qs, u"K"_qs, u"a\r\n[Otra]\r\nX=1\rY=2\nZ"_qs);
  const IniFile leido(path);
  EXPECT_EQ(leido.ReadString(u"S"_qs, u"K"_qs, QString()), u"a  [Otra]  X=1 Y=2 Z"_qs);
  EXPECT_EQ(leido.ReadSections(), QStringList{u"S"_qs});
  EXPECT_EQ(leido.ReadSection(u"S"_qs), QStringList{u"K"_qs});

  StringList lista;
  lista.SetValue(u"K"_qs, u"a\r\nX=1"_qs);
  StringList releida;
  releida.SetText(lista.Text());
  EXPECT_EQ(releida.Lines(), QStringList{u"K=a  X=1"_qs});
  EXPECT_THROW(lista.SetValue(u"a=b"_qs, u"1"_qs), Exception);
  EXPECT_THROW(lista.SetValue(u"a\nb"_qs, u"1"_qs), Exception);
}

TEST(SettingsLines, NamesThatWouldNotReadBackAreRefused) {
  TemporaryFolder folder;
  const QString path = folder.File("PRUEBA.INI");
  TextFile::WriteBytes(path, "[S]\r\nK=1\r\n");
  const std::pair<const char16_t*, const char16_t*> refused[] = {
      {u"", u"K"},    {u"a]b", u"K"},   {u" S", u"K"},    {u"S\r\nX", u"K"}, {u"S", u""},
      {u"S", u"a=b"}, {u"S", u";k"},    {u"S", u"[k]"},   {u"S", u"k\n"},    {u"S", u"k "},
  };
  for (const auto& [section, key] : refused) {
    IniFile ini(path);
    EXPECT_THROW(ini.WriteString(QString::fromUtf16(section), QString::fromUtf16(key), u"v"_qs), Exception)
        << QString::fromUtf16(section).toStdString() << '|' << QString::fromUtf16(key).toStdString();
    EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[S]\r\nK=1\r\n"));
  }
  IniFile(path).WriteString(u"Sección [1"_qs, u"Clave con espacios"_qs, u"v"_qs);
  EXPECT_EQ(IniFile(path).ReadString(u"Sección [1"_qs, u"Clave con espacios"_qs, QString()), u"v"_qs);
}

TEST(SettingsLines, ConnectionStringValuesCannotSetOtherKeys) {
  const char16_t* const values[] = {u"plain", u"a;b", u"x;Initial Catalog=OTRO", u"\"q\";", u"it's;", u"a\"b'c;",
                                    u" blanks ", u""};
  for (const char16_t* raw : values) {
    const QString value = QString::fromUtf16(raw);
    const QString text = u"User ID=sa;Password="_qs + ConnectionString::Quoted(value) + u";Initial Catalog=EMP"_qs;
    const StringList params = Session::ConnectionStringParams(text);
    EXPECT_EQ(params.Values(u"PASSWORD"_qs), value) << text.toStdString();
    EXPECT_EQ(params.Values(u"DATABASE NAME"_qs), u"EMP"_qs) << text.toStdString();
    EXPECT_EQ(params.Count(), 3) << text.toStdString();
  }
  EXPECT_EQ(ConnectionString::Quoted(u"plain"_qs), u"plain"_qs);
  EXPECT_EQ(ConnectionString::Quoted(u"a;b"_qs), u"\"a;b\""_qs);
}
