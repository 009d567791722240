#include "shell/Geneconf.h"

#include "core/forms/TablasFormulario.h"
#include "core/startup/Configuracion.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "shell/Genemenu.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/ScriptedDialogs.h"
#include "tests/shell/ProgramaComo.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolButton>

namespace {

QString General(const QString& sql) { return EjecutarSQL(sql, u"DatabaseGeneral"_qs).trimmed(); }

class Aplicaciones : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Aplicaciones() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
  }
  static QString Nombre(int n) {
    return General(u"SELECT NombreApEspecial"_qs + QString::number(n) + u" FROM CONFAPLI"_qs);
  }
  static QString Ejecutable(int n) {
    return General(u"SELECT EjecutableApEspecial"_qs + QString::number(n) + u" FROM CONFAPLI"_qs);
  }
};

TEST_P(Aplicaciones, FirstUseMakesTheRecordWithTheDefaultNamesAndNoPrograms) {
  TfGENECONF f;
  EXPECT_EQ(f.Caption(), u"Configuración de Aplicaciones"_qs);
  EXPECT_EQ(General(u"SELECT COUNT(*) FROM CONFAPLI"_qs), u"1"_qs);
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(Nombre(n), u"Aplicación Especial "_qs + QString::number(n));
    EXPECT_EQ(Ejecutable(n), QString());
  }
}

TEST_P(Aplicaciones, BrowsingStoresTheChosenProgramOfItsRowOnlyWhenOneIsChosen) {
  TfGENECONF f;
  ScriptedDialogs dialogos;
  dialogos.ExpectFile(QString()).ExpectFile(u"/opt/taller/taller 2.exe"_qs);
  auto* examinar = f.findChild<QAbstractButton*>(u"pbExaminar3"_qs);
  examinar->click();
  EXPECT_EQ(f.Table1->State(), dsBrowse) << "nothing chosen, nothing edited";
  examinar->click();
  EXPECT_EQ(f.Table1->State(), dsEdit);
  EXPECT_EQ(f.Table1->FieldByName(u"EjecutableApEspecial3"_qs).AsString(), u"/opt/taller/taller 2.exe"_qs);
  EXPECT_EQ(dialogos.Dialogs().first().nameFilters.size(), 2);
  f.pbGrabarClick();
  EXPECT_EQ(Ejecutable(3), u"/opt/taller/taller 2.exe"_qs);
  EXPECT_EQ(Ejecutable(2), QString());
}

TEST_P(Aplicaciones, RestoringTheNamesIsUndoneByCancelAndKeepsThePrograms) {
  Ejecutar(u"INSERT INTO CONFAPLI (NombreApEspecial1, EjecutableApEspecial1) VALUES ('Taller; =á', 'taller.exe')"_qs,
           u"DatabaseGeneral"_qs);
  {
    TfGENECONF f;
    f.pbRestablecerClick();
    EXPECT_EQ(f.Table1->FieldByName(u"NombreApEspecial1"_qs).AsString(), u"Aplicación Especial 1"_qs);
    f.pbCancelarClick();
  }
  EXPECT_EQ(Nombre(1), u"Taller; =á"_qs);
  TfGENECONF f;
  f.pbRestablecerClick();
  f.pbGrabarClick();
  EXPECT_EQ(Nombre(1), u"Aplicación Especial 1"_qs);
  EXPECT_EQ(Ejecutable(1), u"taller.exe"_qs);
}

INSTANTIATE_TEST_SUITE_P(Motores, Aplicaciones, ::testing::Values("Microsoft SQL Server", "Paradox"));

TEST(AplicacionesInstalacion, TheSettingsFileKeepsItsOtherLinesAndTakesTheTenValues) {
  TemporaryFolder carpeta;
  const QString archivo = carpeta.Path() + u"/INSTALACION.CFG"_qs;
  const QByteArray antes = Cp1252::encode(
      u"; comentario á\r\nTipoBaseDatos=Paradox\r\nNombreApEspecial2=Vieja\r\n[Otra]\r\nClave=v\r\n"_qs);
  TextFile::WriteBytes(archivo, antes);
  GrabarAplicacionesEspecialesInstalacion(
      archivo, {u"Taller; =á"_qs, QString(), u"Informes"_qs, QString(), QString()},
      {u"/opt/t/taller 2.exe"_qs, QString(), u"inf.exe"_qs, QString(), QString()});
  const QString despues = Cp1252::decode(TextFile::ReadBytes(archivo));
  for (const QString& linea : {u"; comentario á"_qs, u"TipoBaseDatos=Paradox"_qs, u"[Otra]"_qs, u"Clave=v"_qs,
                               u"NombreApEspecial1=Taller; =á"_qs, u"EjecutableApEspecial1=/opt/t/taller 2.exe"_qs,
                               u"NombreApEspecial3=Informes"_qs, u"EjecutableApEspecial3=inf.exe"_qs})
    EXPECT_TRUE(despues.split(u"\r\n"_qs).contains(linea)) << linea.toStdString();
  EXPECT_FALSE(despues.contains(u"Vieja"_qs));

}

class ProgramaConfiguracion : public ConexionesFixture {
 protected:
  ProgramaConfiguracion() { Iniciar(); }
};

// Run as each program (this one linked under both names): only the
// configuration program copies the names into the installation settings.
TEST_F(ProgramaConfiguracion, OnlyTheConfigurationProgramCopiesTheNamesIntoTheSettingsFile) {
  const QString nombre = Paths::ExecutableName();
  if (nombre != u"ZEMWIN.EXE"_qs && nombre != u"MASPWIN.EXE"_qs) {
    for (const char* programa : {"zemwin", "maspwin"})
      EjecutarTestComo(programa,
                       u"ProgramaConfiguracion.OnlyTheConfigurationProgramCopiesTheNamesIntoTheSettingsFile"_qs);
    return;
  }
  TfGENECONF f;
  f.Table1->Edit();
  f.Table1->FieldByName(u"NombreApEspecial4"_qs).SetAsString(u"Taller; =á"_qs);
  f.pbGrabarClick();
  const QStringList lineas = Cp1252::decode(TextFile::ReadBytes(ArchivoInstalacion)).split(u"\r\n"_qs);
  EXPECT_EQ(lineas.contains(u"NombreApEspecial4=Taller; =á"_qs), nombre == u"MASPWIN.EXE"_qs);
  EXPECT_EQ(lineas.contains(u"NombreApEspecial1=Aplicación Especial 1"_qs), nombre == u"MASPWIN.EXE"_qs);
  EXPECT_EQ(General(u"SELECT NombreApEspecial4 FROM CONFAPLI"_qs), u"Taller; =á"_qs);
}

class MenuAplicaciones : public ConexionesFixture, public ModuloConUsuarios {};

TEST_F(MenuAplicaciones, TheNewNameIsInTheMenuAndOnTheIconOnceTheFormCloses) {
  Iniciar();
  CrearUsuarios(u"Codigo, Categoria"_qs, u"('ADMIN', 'Administrador')"_qs);
  CodigoUsuarioActual = u"ADMIN"_qs;
  TfGENEMENU ventana;
  AbrirTablasFormulario(ventana);
  ventana.ConstruirMenuAplicaciones();
  QAction* item = ventana.findChild<QAction*>(u"ConfiguraciondeAplicaciones1"_qs);
  ASSERT_TRUE(item->isEnabled());
  bool visto = false;
  QTimer::singleShot(0, [&visto] {
    auto* f = qobject_cast<TfGENECONF*>(QApplication::activeModalWidget());
    if (!f) {
      QApplication::activeModalWidget()->close();
      return;
    }
    visto = true;
    f->Table1->Edit();
    f->Table1->FieldByName(u"NombreApEspecial2"_qs).SetAsString(u"Taller Central"_qs);
    f->pbGrabarClick();
  });
  item->trigger();
  ASSERT_TRUE(visto);
  EXPECT_TRUE(ventana.findChild<QAction*>(u"AplicacionEspecial2"_qs)->isVisible());
  EXPECT_EQ(ventana.findChild<QAction*>(u"AplicacionEspecial2"_qs)->text(), u"Taller Central"_qs);
  EXPECT_EQ(ventana.findChild<QToolButton*>(u"Imagen27"_qs)->text(), u"T.Central"_qs);
}

}  // namespace
