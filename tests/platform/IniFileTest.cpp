#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// A file as another Windows program leaves it: accented section names, blanks
// around names and values, comments, lines that are neither, mixed endings,
// and the three Windows-1252 bytes the system stores (0x80, 0xB7, 0xFF).
const QByteArray kSample =
    "; Archivo de configuraci\xF3n\r\n"
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
  struct Case {
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"Configuración", u"ModoAdministradorActivado", u"SI"},
      {u"CONFIGURACIÓN", u"modoadministradoractivado", u"SI"},
      {u"Configuración", u"TiempoForzarTerminacionAplicacion", u""},
      {u"Configuración", u"Moneda", u"\u20AC y \u00B7 y \u00FF"},
      {u"Configuración", u"texto sin igual", u"(defecto)"},
      {u"Microsoft SQL Server", u"NombreUsuarioInicioSesion", u"ZEM"},
      {u"Sección con espacios", u"Clave con espacios", u"valor con espacios"},
      {u"Inexistente", u"Clave", u"(defecto)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.ReadString(QString::fromUtf16(c.section), QString::fromUtf16(c.key), QStringLiteral("(defecto)")),
              QString::fromUtf16(c.expected))
        << QString::fromUtf16(c.section).toStdString() << "/" << QString::fromUtf16(c.key).toStdString();
  }
  EXPECT_TRUE(ini.ValueExists(QStringLiteral("Configuración"), QStringLiteral("TiempoForzarTerminacionAplicacion")));
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("Configuración"), QStringLiteral("Nada")));
  EXPECT_EQ(ini.ReadSections(),
            QStringList({u"Configuración"_qs, u"Microsoft SQL Server"_qs, u"Sección con espacios"_qs}));
  EXPECT_EQ(ini.ReadSection(QStringLiteral("Configuración")),
            QStringList({u"ModoAdministradorActivado"_qs, u"TiempoForzarTerminacionAplicacion"_qs, u"Moneda"_qs}));
}

TEST_F(IniFileTest, RewritingAValueKeepsEveryOtherByte) {
  IniFile ini(write(kSample));
  ini.WriteString(QStringLiteral("Configuración"), QStringLiteral("Moneda"), u"\u20AC y \u00B7 y \u00FF"_qs);
  EXPECT_EQ(bytes(), kSample);

  ini.WriteString(QStringLiteral("configuración"), QStringLiteral("TIEMPOFORZARTERMINACIONAPLICACION"),
                  QStringLiteral("5"));
  QByteArray expected = kSample;
  expected.replace("TiempoForzarTerminacionAplicacion=\r\n", "TiempoForzarTerminacionAplicacion=5\r\n");
  EXPECT_EQ(bytes(), expected);
  EXPECT_EQ(IniFile(folder.File("PRUEBA.INI"))
                .ReadString(QStringLiteral("Configuración"), QStringLiteral("TiempoForzarTerminacionAplicacion"), {}),
            QStringLiteral("5"));
}

TEST_F(IniFileTest, NewKeysGoAtTheEndOfTheirSectionAndNewSectionsAtTheEnd) {
  IniFile ini(write(kSample));
  ini.WriteString(QStringLiteral("Configuración"), QStringLiteral("Nueva"), QStringLiteral("1"));
  ini.WriteString(QStringLiteral("Sección con espacios"), QStringLiteral("Otra"), QStringLiteral("2"));
  ini.WriteString(QStringLiteral("Tablas"), QStringLiteral("Tablas"), QStringLiteral("ARTICULO"));

  QByteArray expected = kSample;
  expected.replace("Moneda=\x80 y \xB7 y \xFF\r\n", "Moneda=\x80 y \xB7 y \xFF\r\nNueva=1\r\n");
  expected += "\r\nOtra=2\r\n[Tablas]\r\nTablas=ARTICULO\r\n";
  EXPECT_EQ(bytes(), expected);
}

TEST_F(IniFileTest, AMissingFileReadsEmptyAndIsCreatedOnFirstWrite) {
  const QString path = folder.File("NUEVO.INI");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("x")), QStringLiteral("x"));
  EXPECT_FALSE(QFile::exists(path));
  ini.WriteString(QStringLiteral("Configuración"), QStringLiteral("Clave"), QStringLiteral("ñ"));
  EXPECT_EQ(TextFile::ReadBytes(path), QByteArray("[Configuraci\xF3n]\r\nClave=\xF1\r\n"));
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenRaisesAndKeepsItsValues) {
  const QString path = folder.File("SOLO/PRUEBA.INI");  // the folder does not exist
  IniFile ini(path);
  EXPECT_THROW(ini.WriteString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")), Exception);
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("A"), QStringLiteral("B")));
}
