#include "shell/Genecsis.h"

#include "core/helpers/LiteralesSQL.h"

#include "core/startup/Configuracion.h"
#include "platform/Application.h"
#include "platform/Cp1252.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/FullDisk.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/shell/ProgramaComo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QApplication>

namespace {

const QString kReinicio = u"La aplicación será reiniciada. ¿Desea continuar con el proceso?"_qs;
// Written by hand and by other programs: kept byte for byte.
const QByteArray kAjeno = "; ajustes de la instalaci\xf3n\r\n[Tablas]\r\nCLIENTES = si ; comentario\r\n\r\n";

class Sistema : public ConexionesFixture {
 protected:
  Sistema() {
    Iniciar();
    TextFile::WriteBytes(ArchivoINI, kAjeno + Cp1252::encode(u"[Configuración]\r\nRegistroAccesosActivado=SI\r\n"
                                                             "RegistrarAccesoATablas=CLIENTES,ARTICULOS,\r\n"_qs));
    TextFile::WriteBytes(ArchivoInstalacion, TextFile::ReadBytes(ArchivoInstalacion) + "; sin control\r\n");
  }
  template <class T>
  static T* Control(TfGENECSIS& f, const char* clave) {
    return f.findChild<T*>(QString::fromLatin1(clave));
  }
  static QString Ini(const QString& seccion, const QString& clave) {
    return IniFile(ArchivoINI).ReadString(seccion, clave, u"(falta)"_qs);
  }
  static QByteArray Archivos() { return TextFile::ReadBytes(ArchivoINI) + TextFile::ReadBytes(ArchivoInstalacion); }

  RecordingLauncher lanzador;
};

}  // namespace

TEST_F(Sistema, KeysShowTheirDefaultsAndAreWrittenBackAsShownThenTheProgramStartsAgain) {
  TfGENECSIS f;
  EXPECT_TRUE(Control<QCheckBox>(f, "VisualizacionPreviaActivada")->isChecked()) << "missing: SI";
  EXPECT_FALSE(Control<QCheckBox>(f, "ModoAdministradorActivado")->isChecked());
  EXPECT_EQ(Control<QPlainTextEdit>(f, "RegistrarAccesoATablas")->toPlainText(), u"CLIENTES\nARTICULOS"_qs);
  EXPECT_TRUE(Control<QPlainTextEdit>(f, "RegistrarAccesoATablas")->isEnabled());
  EXPECT_EQ(Control<QComboBox>(f, "TipoBaseDatos")->currentText(), u"Microsoft SQL Server"_qs);
  EXPECT_TRUE(Control<QPlainTextEdit>(f, "MemoVisorZEMWININI")->toPlainText().startsWith(u"; ajustes de la instalación"_qs));

  Control<QComboBox>(f, "NivelCapturaIncidencias")->setEditText(u"Medio; a=b, ñ"_qs);
  Control<QComboBox>(f, "NombreIntercalacionMSSQL")->setEditText(u"Latin1_General_CI_AS"_qs);
  Control<QLineEdit>(f, "AliasBaseDatos")->setText(u"Empresa nueva"_qs);
  ParametroT = u"Inglés de EE UU"_qs;
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.pbGrabarClick();

  EXPECT_TRUE(TextFile::ReadBytes(ArchivoINI).startsWith(kAjeno));
  const QString c = u"Configuración"_qs;
  EXPECT_EQ(Ini(c, u"VisualizacionPreviaActivada"_qs), u"SI"_qs);
  EXPECT_EQ(Ini(c, u"ModoAdministradorActivado"_qs), u"NO"_qs);
  EXPECT_EQ(Ini(c, u"RegistrarAccesoATablas"_qs), u"CLIENTES,ARTICULOS,"_qs);
  EXPECT_EQ(Ini(c, u"NivelCapturaIncidencias"_qs), u"Medio; a=b, ñ"_qs);
  EXPECT_EQ(Ini(c, u"TiempoForzarTerminacionAplicacion"_qs), QString());
  EXPECT_EQ(Ini(u"Microsoft SQL Server"_qs, u"NombreIntercalacionMSSQL"_qs), u"Latin1_General_CI_AS"_qs);
  const QString instalacion = TextFile::Read(ArchivoInstalacion);
  EXPECT_TRUE(instalacion.contains(u"AliasBaseDatos=Empresa nueva\r\n"_qs));
  EXPECT_TRUE(instalacion.contains(u"TipoBaseDatos=Microsoft SQL Server\r\n"_qs));
  EXPECT_TRUE(instalacion.contains(u"; sin control\r\n"_qs));

  ASSERT_EQ(lanzador.Calls().size(), 1);
  const RecordingLauncher::Call& llamada = lanzador.Calls().first();
  EXPECT_EQ(llamada.program, u"MASPWIN.EXE"_qs) << "a run not named ZEMWIN";
  EXPECT_EQ(llamada.arguments, QStringList({u"L="_qs + ParametroL, u"U="_qs + CodigoUsuarioActual,
                                            u"I="_qs + ParametroI, u"T=Inglés de EE UU"_qs}));
  EXPECT_TRUE(Application::Instance()->Terminated());
}

TEST_F(Sistema, EnterMovesToTheNextSettingAndAMemoKeepsItsLines) {
  TfGENECSIS f;
  f.show();
  QApplication::setActiveWindow(&f);
  auto* alias = Control<QLineEdit>(f, "AliasBaseDatosGeneral");
  alias->setFocus();
  QTest::keyClick(alias, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(f, "PathBaseDatosGeneral"));
  auto* memo = Control<QPlainTextEdit>(f, "RegistrarAccesoATablas");
  memo->setFocus();
  QTest::keyClick(memo, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), memo);
  EXPECT_EQ(memo->toPlainText().count(u'\n'), 2);
}

TEST_F(Sistema, NoWritesNothingAndDoesNotRestart) {
  const QByteArray antes = Archivos();
  TfGENECSIS f;
  Control<QCheckBox>(f, "ModoAdministradorActivado")->setChecked(true);
  mensajes.Expect(u"C"_qs, u"NO"_qs);
  f.pbGrabarClick();
  EXPECT_EQ(Archivos(), antes);
  EXPECT_TRUE(lanzador.Calls().isEmpty());
  EXPECT_FALSE(Application::Instance()->Terminated());
}

TEST_F(Sistema, AFileThatCannotBeWrittenLeavesBothAsTheyWereAndNothingRestarts) {
  const QByteArray antes = Archivos();
  enum Fallo { IniSoloLectura, InstalacionSoloLectura, DiscoLleno };
  for (const Fallo fallo : {IniSoloLectura, InstalacionSoloLectura, DiscoLleno}) {
    SCOPED_TRACE(fallo);
    TfGENECSIS f;
    Control<QCheckBox>(f, "ModoAdministradorActivado")->setChecked(true);
    Control<QLineEdit>(f, "AliasBaseDatos")->setText(u"Otra"_qs);
    const QString bloqueado = fallo == IniSoloLectura ? ArchivoINI : ArchivoInstalacion;
    const bool lleno = fallo == DiscoLleno;
    if (!lleno) {
      ASSERT_TRUE(QFile::setPermissions(bloqueado, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    }
    mensajes.Expect(u"C"_qs, u"SI"_qs);
    {
      std::optional<FullDisk> disco;
      if (lleno) disco.emplace(16);
      EXPECT_THROW(f.pbGrabarClick(), Exception);
    }
    if (!lleno) QFile::setPermissions(bloqueado, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(Archivos(), antes);
    EXPECT_TRUE(lanzador.Calls().isEmpty());
    EXPECT_FALSE(Application::Instance()->Terminated());
  }
}

TEST_F(Sistema, KeysAndLinesWrittenByOthersWhileTheFormIsOpenSurvive) {
  TfGENECSIS f;
  IniFile(ArchivoINI).WriteString(u"Configuración"_qs, u"ClaveAcceso"_qs, u"x9$#"_qs);
  IniFile(ArchivoINI).WriteString(u"Backup MS SQL Server"_qs, u"HoraCopia"_qs, u"22:00"_qs);
  TextFile::WriteBytes(ArchivoInstalacion, TextFile::ReadBytes(ArchivoInstalacion) + "NombreApEspecial1=Taller\r\n");
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.pbGrabarClick();
  EXPECT_EQ(Ini(u"Configuración"_qs, u"ClaveAcceso"_qs), u"x9$#"_qs);
  EXPECT_EQ(Ini(u"Backup MS SQL Server"_qs, u"HoraCopia"_qs), u"22:00"_qs);
  EXPECT_EQ(Ini(u"Configuración"_qs, u"ModoAdministradorActivado"_qs), u"NO"_qs);
  EXPECT_TRUE(TextFile::Read(ArchivoInstalacion).contains(u"NombreApEspecial1=Taller\r\n"_qs));
}

// Run under both names (this program linked as each): saving restarts the
// program that runs.
TEST_F(Sistema, SavingRestartsTheProgramOfTheRunningName) {
  const QString nombre = Paths::ExecutableName();
  if (nombre != u"ZEMWIN.EXE"_qs && nombre != u"MASPWIN.EXE"_qs) {
    for (const char* programa : {"zemwin", "maspwin"})
      EjecutarTestComo(programa, u"Sistema.SavingRestartsTheProgramOfTheRunningName"_qs);
    return;
  }
  TfGENECSIS f;
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.pbGrabarClick();
  ASSERT_EQ(lanzador.Calls().size(), 1);
  EXPECT_EQ(lanzador.Calls().first().program, nombre);
}

// A table whose triggers could not be named is refused where it is typed,
// naming it, and nothing is written; names that only read oddly are kept.
TEST_F(Sistema, ALoggedTableThatCannotBeANameIsRefusedAndNothingIsWritten) {
  const QByteArray antes = Archivos();
  const QString largo = QString(120, u'T');
  TfGENECSIS f;
  auto* tablas = Control<QPlainTextEdit>(f, "RegistrarAccesoATablas");
  tablas->setPlainText(u"CLIENTES\nCLIENTES;DELETE FROM VX\n"_qs + largo + u"\nAño"_qs);
  mensajes.Expect(u"A"_qs);
  f.pbGrabarClick();
  EXPECT_EQ(mensajes.Texts(), QStringList{MensajeNombreNoValido(largo)});
  EXPECT_EQ(Archivos(), antes);
  EXPECT_TRUE(lanzador.Calls().isEmpty());

  tablas->setPlainText(u"CLIENTES\nCLIENTES;DELETE FROM VX\tX\nAño"_qs);
  mensajes.Expect(u"A"_qs);
  f.pbGrabarClick();
  EXPECT_EQ(mensajes.Texts().last(), MensajeNombreNoValido(u"CLIENTES;DELETE FROM VX\tX"_qs));
  EXPECT_EQ(Archivos(), antes);

  tablas->setPlainText(u"CLIENTES\nCLIENTES;DELETE FROM VX\nAño"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  f.pbGrabarClick();
  EXPECT_EQ(Ini(u"Configuración"_qs, u"RegistrarAccesoATablas"_qs), u"CLIENTES,CLIENTES;DELETE FROM VX,Año,"_qs);
}
