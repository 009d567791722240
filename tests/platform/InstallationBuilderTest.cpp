#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/TextFile.h"
#include "tests/fixtures/InstallationBuilder.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(InstallationBuilder, WritesAnEmbeddedServerInstallation) {
  TemporaryFolder folder;
  InstallationBuilder builder(folder.Path());
  builder.Setting(QStringLiteral("CodigoAdministrador"), QStringLiteral("JEFE"))
      .Ini(QStringLiteral("Configuración"), QStringLiteral("BusquedaAproximadaActivada"), QStringLiteral("SI"));
  builder.Write();

  StringList settings;
  settings.LoadFromFile(builder.SettingsFilePath());
  EXPECT_EQ(settings.Values(QStringLiteral("TipoBaseDatos")), QStringLiteral("Microsoft SQL Server"));
  EXPECT_EQ(settings.Values(QStringLiteral("CodigoAdministrador")), QStringLiteral("JEFE"));
  const QString generalAlias = settings.Values(QStringLiteral("AliasBaseDatosGeneral"));
  EXPECT_FALSE(generalAlias.isEmpty());

  const IniFile ini(folder.File("ZEMWIN.INI"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Configuración"), QStringLiteral("BusquedaAproximadaActivada"), {}),
            QStringLiteral("SI"));
  EXPECT_TRUE(TextFile::ReadBytes(folder.File("ZEMWIN.INI")).contains("[Configuraci\xF3n]"));

  const IniFile engine(folder.File("MOTORBD.CFG"));
  const QString section = QStringLiteral("Databases\\") + generalAlias;
  EXPECT_EQ(engine.ReadString(section, QStringLiteral("TYPE"), {}), QStringLiteral("MSSQL"));
  EXPECT_EQ(engine.ReadString(section, QStringLiteral("SERVER NAME"), {}), builder.ServerFolder());
  EXPECT_TRUE(QFileInfo(builder.ServerFolder()).isDir());
  EXPECT_TRUE(QFileInfo::exists(folder.File("REGISTRO.CFG")));
}

TEST(InstallationBuilder, WritesAParadoxInstallationWithDataFolders) {
  TemporaryFolder folder;
  InstallationBuilder builder(folder.Path());
  builder.Engine(QStringLiteral("Paradox")).Write();
  StringList settings;
  settings.LoadFromFile(builder.SettingsFilePath());
  EXPECT_EQ(settings.Values(QStringLiteral("TipoBaseDatos")), QStringLiteral("Paradox"));
  const IniFile engine(folder.File("MOTORBD.CFG"));
  const QString section = QStringLiteral("Databases\\") + settings.Values(QStringLiteral("AliasBaseDatos"));
  EXPECT_EQ(engine.ReadString(section, QStringLiteral("TYPE"), {}), QStringLiteral("STANDARD"));
  EXPECT_TRUE(QFileInfo(engine.ReadString(section, QStringLiteral("PATH"), {})).isDir());
  EXPECT_FALSE(QFileInfo::exists(builder.ServerFolder()));
}
