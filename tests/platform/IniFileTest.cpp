#include "platform/ConnectionString.h"
#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "platform/data/Session.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// A file as another Windows program leaves it: accented section names, blanks
// around names and values, comments, lines that are neither, mixed endings,
// and the three Windows-1252 bytes the system stores (0x80, 0xB7, 0xFF).
const QByteArray kSample = "; Archivo de configuraci\xF3n\r\n"
                           "[Configuraci\xF3n]\r\n"
                           "  ModoAdministradorActivado = SI  \r\n"
                           "TiempoForzarTerminacionAplicacion=\r\n"
                           "texto sin igual\r\n"
                           "Moneda=\x80 y \xB7 y \xFF\r\n"
                           "\r\n"
                           "[ Microsoft SQL Server ]\r\n"
                           "NombreUsuarioInicioSesion=\"ZEM\"\n"
                           "[Secci\xF3n con espacios]\r\n"
                           "Clave con espacios=valor con espacios";

class IniFileTest : public ::testing::Test {
 protected:
  QString write(const QByteArray& bytes) {
    const QString path = folder.File("PRUEBA.INI");
    TextFile::WriteBytes(path, bytes);
    return path;
  }
  QByteArray bytes() { return TextFile::ReadBytes(folder.File("PRUEBA.INI")); }

  TemporaryFolder folder;
};

}  // namespace

TEST_F(IniFileTest, ReadsWithWindowsSemantics) {
  const IniFile ini(write(kSample));
  const std::tuple<const char16_t*, const char16_t*, const char16_t*> cases[] = {
      {u"Configuración", u"ModoAdministradorActivado", u"SI"}, {u"CONFIGURACIÓN", u"modoadministradoractivado", u"SI"},
      {u"Configuración", u"TiempoForzarTerminacionAplicacion", u""},
      {u"Configuración", u"Moneda", u"\u20AC y \u00B7 y \u00FF"}, {u"Configuración", u"texto sin igual", u"(defecto)"},
      {u"Microsoft SQL Server", u"NombreUsuarioInicioSesion", u"ZEM"},
      {u"Sección con espacios", u"Clave con espacios", u"valor con espacios"}, {u"Inexistente", u"Clave", u"(defecto)"},
  };
  for (const auto& [section, key, expected] : cases)
    EXPECT_EQ(ini.ReadString(QString::fromUtf16(section), QString::fromUtf16(key), u"(defecto)"_qs),
              QString::fromUtf16(expected))
        << QString::fromUtf16(section).toStdString() << "/" << QString::fromUtf16(key).toStdString();
  EXPECT_TRUE(ini.ValueExists(u"Configuración"_qs, u"TiempoForzarTerminacionAplicacion"_qs));
  EXPECT_FALSE(ini.ValueExists(u"Configuración"_qs, u"Nada"_qs));
  EXPECT_EQ(ini.ReadSections(),
            QStringList({u"Configuración"_qs, u"Microsoft SQL Server"_qs, u"Sección con espacios"_qs}));
  EXPECT_EQ(ini.ReadSection(u"Configuración"_qs),
            QStringList({u"ModoAdministradorActivado"_qs, u"TiempoForzarTerminacionAplicacion"_qs, u"Moneda"_qs}));
}

// A rewritten value keeps every other byte; new keys go at the end of their section, new sections at the end.
TEST_F(IniFileTest, WritingKeepsEveryOtherByte) {
  IniFile ini(write(kSample));
  ini.WriteString(u"Configuración"_qs, u"Moneda"_qs, u"\u20AC y \u00B7 y \u00FF"_qs);
  EXPECT_EQ(bytes(), kSample);
  ini.WriteString(u"configuración"_qs, u"TIEMPOFORZARTERMINACIONAPLICACION"_qs, u"5"_qs);
  ini.WriteString(u"Configuración"_qs, u"Nueva"_qs, u"1"_qs);
  ini.WriteString(u"Sección con espacios"_qs, u"Otra"_qs, u"2"_qs);
  ini.WriteString(u"Tablas"_qs, u"Tablas"_qs, u"ARTICULO"_qs);
  QByteArray expected = kSample;
  expected.replace("TiempoForzarTerminacionAplicacion=\r\n", "TiempoForzarTerminacionAplicacion=5\r\n");
  expected.replace("Moneda=\x80 y \xB7 y \xFF\r\n", "Moneda=\x80 y \xB7 y \xFF\r\nNueva=1\r\n");
  expected += "\r\nOtra=2\r\n[Tablas]\r\nTablas=ARTICULO\r\n";
  EXPECT_EQ(bytes(), expected);
  EXPECT_EQ(
      IniFile(folder.File("PRUEBA.INI")).ReadString(u"Configuración"_qs, u"TiempoForzarTerminacionAplicacion"_qs, {}),
      u"5"_qs);
}

// A missing file reads empty and is made on the first write; one that cannot be written raises and keeps its values.
TEST_F(IniFileTest, AMissingFileReadsEmptyAndIsCreatedOnFirstWrite) {
  const QString path = folder.File("NUEVO.INI");
  IniFile ini(path), unwritable(folder.File("SOLO/PRUEBA.INI"));
  EXPECT_EQ(ini.ReadString(u"A"_qs, u"B"_qs, u"x"_qs), u"x"_qs);
  EXPECT_FALSE(QFile::exists(path));
  ini.WriteString(u"Configuración"_qs, u"Clave"_qs, u"ñ"_qs);
  EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[Configuraci\xF3n]\r\nClave=\xF1\r\n"));
  EXPECT_THROW(unwritable.WriteString(u"A"_qs, u"B"_qs, u"C"_qs), Exception);
  EXPECT_FALSE(unwritable.ValueExists(u"A"_qs, u"B"_qs));
}

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
      {u"S", u"a=b"}, {u"S", u";k"}, {u"S", u"[k]"}, {u"S", u"k\r"}, {u"S", u"k "},
      {u"S\u4E00", u"K"}, {u"S", u"k\u0101"}, {u"S", u"k\U0001F600"}};
  for (const auto& [section, key] : refused) {
    EXPECT_THROW(IniFile(path).WriteString(QString::fromUtf16(section), QString::fromUtf16(key), u"v"_qs), Exception)
        << QString::fromUtf16(section).toStdString() << '|' << QString::fromUtf16(key).toStdString();
    EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[S]\r\nK=1\r\n"));
  }
}

// What Windows-1252 cannot hold, or NUL, which ends the text for a reader,
// is refused rather than written as another character.
TEST(SettingsLines, TextsTheFileCannotHoldAreRefused) {
  TemporaryFolder folder;
  const QString path = folder.File("PRUEBA.INI");
  TextFile::WriteBytes(path, "[S]\r\nK=1\r\n");
  const QString nul(QChar(u'\0'));
  const std::tuple<QString, QString, QString, QString> refused[] = {
      {u"S"_qs, u"K"_qs, u"a\u4E00"_qs, u"Invalid INI value 'a\u4E00'."_qs},
      {u"S"_qs, u"K"_qs, u"\U0001F600"_qs, u"Invalid INI value '\U0001F600'."_qs},
      {u"S"_qs, u"K"_qs, u"a"_qs + nul + u"b"_qs, u"Invalid INI value 'a"_qs + nul + u"b'."_qs},
      {u"S"_qs, u"K"_qs + nul, u"v"_qs, u"Invalid INI key name 'K"_qs + nul + u"'."_qs},
      {u"S\u0100"_qs, u"K"_qs, u"v"_qs, u"Invalid INI section name 'S\u0100'."_qs},
      {u"S"_qs, u"\u4E00"_qs, u"v"_qs, u"Invalid INI key name '\u4E00'."_qs}};
  for (const auto& [section, key, value, message] : refused) {
    IniFile ini(path);
    try {
      ini.WriteString(section, key, value);
      ADD_FAILURE() << "written: " << section.toStdString() << '|' << key.toStdString() << '|' << value.toStdString();
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), message);
    }
    EXPECT_EQ(ini.ReadString(u"S"_qs, u"K"_qs, QString()), u"1"_qs);
    EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[S]\r\nK=1\r\n"));
  }
  // The code page's own characters, the undefined bytes' controls among them.
  IniFile(path).WriteString(u"S"_qs, u"K\u20AC"_qs, u"\u0081\u017D\u00FF"_qs);
  EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[S]\r\nK=1\r\nK\x80=\x81\x8E\xFF\r\n"));
}

TEST(SettingsLines, ConnectionStringValuesCannotSetOtherKeys) {
  for (const char16_t* raw : {u"plain", u"x;Initial Catalog=OTRO", u"\"q\";", u"it's;", u"a\"b'c;", u" b ", u""}) {
    const QString value = QString::fromUtf16(raw);
    const StringList params = Session::ConnectionStringParams(u"Password="_qs + ConnectionString::Quoted(value) +
                                                              u";Initial Catalog=EMP"_qs);
    EXPECT_EQ(params.Lines(), QStringList({u"PASSWORD="_qs + value, u"DATABASE NAME=EMP"_qs})) << value.toStdString();
  }
}
