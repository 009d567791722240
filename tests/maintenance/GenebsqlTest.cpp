#include "maintenance/Genebsql.h"

#include "core/connections/Conexiones.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/startup/Configuracion.h"
#include "maintenance/TareasCopiaSeguridad.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/data/Database.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"
#include "tests/fixtures/RecordingLauncher.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

const QString kNoCreada = u"¡No ha sido posible crear la tarea de copia de seguridad!. Motivo: "_qs;

// Another copy of the program using the company's database until its input ends.
void usarEmpresa() {
  QDir::setCurrent(qEnvironmentVariable("ZEM_PROGRAM_FOLDER"));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  SecondProcess::Report(u"conectada"_qs);
  SecondProcess::NextLine();
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"usar-base"_qs, usarEmpresa);

// The backups form on a started installation, its backups going to a folder
// whose name holds a blank and a quote.
class Copias : public ConexionesFixture {
 protected:
  Copias() {
    Iniciar();
    QDir().mkpath(destino);
    IniFile(ArchivoINI).WriteString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, destino);
    formulario = std::make_unique<TfGENEBSQL>();
  }
  template <class C>
  C& Control(const char* nombre) {
    return *formulario->findChild<C*>(QLatin1String(nombre));
  }
  QString Ini(const char* clave) const {
    return IniFile(ArchivoINI).ReadString(u"Backup MS SQL Server"_qs, QLatin1String(clave), u"(ninguno)"_qs);
  }
  // The crontab task with a Windows password, for these databases.
  void TareaCrontab(const QString& bases) {
    Control<QRadioButton>("TareaProgramadaWindows").click();
    Control<QLineEdit>("edPasswordWindows").setText(u"secreta"_qs);
    Control<QPlainTextEdit>("edBasesDatos").setPlainText(bases);
  }
  static QString Hoy() { return QString::fromLatin1(kDiasSemana[QDate::currentDate().dayOfWeek() - 1]); }

  QString destino = carpeta.Path() + u"/Copias d'Ana"_qs;
  std::unique_ptr<TfGENEBSQL> formulario;
};

}  // namespace

TEST(TareasCopia, TheAgentJobsAreTheServersStatementsForEachWeekday) {
  const QStringList lunes = SentenciasTrabajoAgente(0, {u"ZEMGENERAL"_qs, u"ZEMEMP"_qs}, u"D:\\Copias d'Ana"_qs, u"1:02:03"_qs);
  EXPECT_EQ(lunes, (QStringList{
      u"USE msdb EXEC sp_delete_job @job_name = 'BackupZEMLunes'"_qs,
      u"USE msdb EXEC sp_add_job @job_name = 'BackupZEMLunes', @enabled = 1, @description = 'BackupZEMLunes', "
      "@owner_login_name = 'sa', @notify_level_eventlog = 2, @notify_level_email = 2, @notify_level_netsend = 2, "
      "@notify_level_page = 2"_qs,
      u"USE msdb EXEC sp_add_jobstep @job_name = 'BackupZEMLunes', @step_name = 'Backup BD ZEMGENERAL Lunes', "
      "@subsystem = 'TSQL', @command = 'BACKUP DATABASE ZEMGENERAL TO DISK = ''D:\\Copias d''''Ana\\ZEMGENERAL_db_Lunes.bak'' "
      "WITH FORMAT', @on_success_action = 3, @retry_attempts = 5, @retry_interval = 5"_qs,
      u"USE msdb EXEC sp_add_jobstep @job_name = 'BackupZEMLunes', @step_name = 'Backup BD ZEMEMP Lunes', "
      "@subsystem = 'TSQL', @command = 'BACKUP DATABASE ZEMEMP TO DISK = ''D:\\Copias d''''Ana\\ZEMEMP_db_Lunes.bak'' "
      "WITH FORMAT', @on_success_action = 1, @retry_attempts = 5, @retry_interval = 5"_qs,
      u"USE msdb EXEC sp_add_jobserver @job_name = 'BackupZEMLunes', @server_name = N'(local)'"_qs,
      u"USE msdb EXEC sp_add_jobschedule @job_name = 'BackupZEMLunes', @name = 'Copia de Seguridad ZEM Programada "
      "Lunes', @freq_type = 8, @freq_interval = 2, @freq_subday_type = 1, @freq_recurrence_factor = 1, "
      "@active_start_time = 010203"_qs}));
  const char* bits[] = {"2", "4", "8", "16", "32"};
  for (int dia = 0; dia < 5; ++dia) {
    const QStringList sentencias = SentenciasTrabajoAgente(dia, {}, u"C:"_qs, u"23:59:00"_qs);
    EXPECT_EQ(sentencias.size(), 4) << "no steps";
    EXPECT_TRUE(sentencias.last().endsWith(u"Programada "_qs + QLatin1String(kDiasTrabajo[dia]) +
                                           u"', @freq_type = 8, @freq_interval = "_qs + QLatin1String(bits[dia]) +
                                           u", @freq_subday_type = 1, @freq_recurrence_factor = 1, "
                                           "@active_start_time = 235900"_qs));
  }
}

TEST(TareasCopia, TheTaskLineReplacesItsEarlierOneAndKeepsTheOthers) {
  const QByteArray antes = "MAILTO=ana\n\n0 3 * * * /usr/bin/otra\n5 1 * * * '/viejo/DEXOWIN' '/viejo/DEXOWIN.CFG' # Backup Mirdal ZEM\n";
  EXPECT_EQ(CrontabConTarea(antes, u"/Mi carpeta/d'Ana 50%/dexowin"_qs, u"/Mi carpeta/DEXOWIN.CFG"_qs, u"01:30:00"_qs),
            QByteArray("MAILTO=ana\n\n0 3 * * * /usr/bin/otra\n30 1 * * * '/Mi carpeta/d'\\''Ana 50\\%/dexowin' "
                       "'/Mi carpeta/DEXOWIN.CFG' # Backup Mirdal ZEM\n"));
  EXPECT_EQ(CrontabConTarea({}, u"/p/dexowin"_qs, u"/p/DEXOWIN.CFG"_qs, u"7:05"_qs),
            QByteArray("5 7 * * * '/p/dexowin' '/p/DEXOWIN.CFG' # Backup Mirdal ZEM\n"));
}

TEST(TareasCopia, APathWithALineBreakIsRefusedAndTheTaskKeepsToOneLine) {
  const QByteArray otras = "MAILTO=ana\n0 3 * * * /usr/bin/otra # copia\n";
  for (const auto& [runner, archivo] : {std::pair{u"/p/nl\n* * * * * touch X #/dexowin"_qs, u"/p/DEXOWIN.CFG"_qs},
                                        {u"/p/dexowin"_qs, u"/p/cr\r* * * * * touch X #/DEXOWIN.CFG"_qs}}) {
    try {
      CrontabConTarea(otras, runner, archivo, u"01:00:00"_qs);
      ADD_FAILURE() << "accepted " << runner.toStdString() << " " << archivo.toStdString();
    } catch (const Exception& error) {
      EXPECT_TRUE(error.Message().startsWith(u"¡Error creando la tarea programada!"_qs));
      EXPECT_TRUE(error.Message().contains(runner.contains(u'\n') ? runner : archivo)) << "names the refused path";
    }
  }
  // Earlier task lines anywhere give way to one line, where the first was.
  const QByteArray viejas = "MAILTO=ana\n1 1 * * * '/a/dexowin' '/a/D.CFG' # Backup Mirdal ZEM\n0 3 * * * /usr/bin/otra\n"
                            "2 2 * * * '/b/dexowin' '/b/D.CFG' # Backup Mirdal ZEM  \n# fin\n";
  const QByteArray primera = CrontabConTarea(viejas, u"/p/dexowin"_qs, u"/p/DEXOWIN.CFG"_qs, u"7:05"_qs);
  const QByteArray tarea = "5 7 * * * '/p/dexowin' '/p/DEXOWIN.CFG' # Backup Mirdal ZEM\n";
  EXPECT_EQ(primera, "MAILTO=ana\n" + tarea + "0 3 * * * /usr/bin/otra\n# fin\n");
  EXPECT_EQ(CrontabConTarea(primera, u"/p/dexowin"_qs, u"/p/DEXOWIN.CFG"_qs, u"7:05"_qs), primera);
}

// A NUL would end the line where cron reads it; a command longer than crontab
// installs would make it refuse the whole table.
TEST(TareasCopia, ANulInAPathAndACommandLongerThanCronReadsAreRefused) {
  const QString archivo = u"/p/D.CFG"_qs;
  for (const QString& runner : {u"/p/de"_qs + QChar(0) + u"xowin"_qs, u"/p/"_qs + QString(963, u'd')}) {
    try {
      CrontabConTarea({}, runner, archivo, u"01:00:00"_qs);
      ADD_FAILURE() << "accepted " << runner.size();
    } catch (const Exception& error) {
      EXPECT_TRUE(error.Message().startsWith(u"¡Error creando la tarea programada!"_qs)) << error.Message().toStdString();
    }
  }
  // The longest command crontab installs.
  const QByteArray linea = CrontabConTarea({}, u"/p/"_qs + QString(962, u'd'), archivo, u"01:00:00"_qs);
  EXPECT_EQ(linea.size() - QByteArray("0 1 * * * \n").size(), 998);
}

// What an earlier version wrote for a path holding a line break: the task's
// first half, unclosed, and its second half ending with the task's mark. Only
// the marked half is the task's: a line without the mark is never taken.
TEST(TareasCopia, OfAnEarlierTaskLineSplitByALineBreakOnlyTheMarkedHalfGoes) {
  const QByteArray partida = "MAILTO=ana\n0 1 * * * '/p/nl\n* * * * * touch X #/dexowin' '/p/DEXOWIN.CFG' # Backup Mirdal ZEM\n"
                             "0 3 * * * '/u/it'\\''s' '/u/otra' # mine\n"
                             "30 2 * * * '/q/dexowin' '/q/cr\n* * * * * touch Y #/D.CFG' # Backup Mirdal ZEM\n# fin\n";
  const QByteArray tarea = "5 7 * * * '/p/dexowin' '/p/DEXOWIN.CFG' # Backup Mirdal ZEM\n";
  EXPECT_EQ(CrontabConTarea(partida, u"/p/dexowin"_qs, u"/p/DEXOWIN.CFG"_qs, u"7:05"_qs),
            "MAILTO=ana\n0 1 * * * '/p/nl\n" + tarea + "0 3 * * * '/u/it'\\''s' '/u/otra' # mine\n"
            "30 2 * * * '/q/dexowin' '/q/cr\n# fin\n");
}

// A user's line just above the task, its quotes in any count, stays byte for
// byte however often the task is made again.
TEST(TareasCopia, TheUsersLineAboveTheTaskStaysByteForByteOverEveryRecreation) {
  const QByteArray usuario[] = {
      "0 3 * * * '/u/avisar' \"it's\"",
      "0 3 * * * '/u/avisar' 'it'\"'\"'s'",
      "0 3 * * * '/u/avisar' \"it's\" 'it'\"'\"'s'",
      "15 4 * * * 'sin cerrar",
      "\t0 3 * * * '/u/x' 'y'\r",
  };
  for (const QByteArray& linea : usuario) {
    SCOPED_TRACE(linea.toStdString());
    QByteArray crontab = "MAILTO=ana\n" + linea + '\n';
    for (const char* hora : {"1:00", "2:30", "23:59"}) {
      crontab = CrontabConTarea(crontab, u"/p/dexowin"_qs, u"/p/DEXOWIN.CFG"_qs, QLatin1String(hora));
      const QList<QByteArray> lineas = crontab.split('\n');
      ASSERT_EQ(lineas.size(), 4);
      EXPECT_EQ(lineas[0], "MAILTO=ana");
      EXPECT_EQ(lineas[1], linea);
      EXPECT_TRUE(lineas[2].endsWith("* * * '/p/dexowin' '/p/DEXOWIN.CFG' # Backup Mirdal ZEM"));
    }
  }
}

// The embedded server has no agent: its answer is the warning, and the
// settings are not written.
TEST_F(Copias, WithoutAnAgentTheJobsAreNotMadeAndTheSettingsNotWritten) {
  Control<QLineEdit>("edHoraInicio").setText(u"25:00"_qs);
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(formulario->CrearTareaAgenteSQL());
  Control<QLineEdit>("edHoraInicio").setText(u"02:00:00"_qs);
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(formulario->CrearTareaAgenteSQL());
  EXPECT_EQ(mensajes.Texts(), (QStringList{u"¡La hora de Hora de Inicio de la copia es incorrecta! Repita por favor"_qs,
                                           kNoCreada + u"General SQL error\nCould not find stored procedure 'sp_add_job'."_qs}));
  EXPECT_EQ(Ini("HoraInicio"), u"(ninguno)"_qs);
}

TEST_F(Copias, TheTaskGoesIntoTheCrontabAndTheRunnerFileIsTheOwnersOnly) {
  TareaCrontab(u"ZEMGENERAL\nZEMEMP"_qs);
  RecordingLauncher lanzador;
  lanzador.output = "0 3 * * * /usr/bin/otra\n";
  ASSERT_TRUE(formulario->CrearTareaProgramadaWindows());
  ASSERT_EQ(lanzador.Calls().size(), 2);
  EXPECT_EQ(lanzador.Calls()[0].arguments, QStringList{u"-l"_qs});
  EXPECT_EQ(lanzador.Calls()[1].arguments, QStringList{u"-"_qs});
  const QString archivo = QDir::current().filePath(u"DEXOWIN.CFG"_qs);
  EXPECT_TRUE(lanzador.Calls()[1].input.startsWith("0 3 * * * /usr/bin/otra\n0 1 * * * '"));
  EXPECT_TRUE(lanzador.Calls()[1].input.endsWith(("' '" + archivo + "' # Backup Mirdal ZEM\n").toUtf8()));
  EXPECT_FALSE(lanzador.Calls()[1].input.contains("secreta")) << "the Windows password never leaves the form";
  const QStringList lineas = TextFile::Read(archivo).split(u"\r\n"_qs);
  EXPECT_TRUE(lineas[0].contains(u"Initial Catalog=msdb"_qs));
  EXPECT_EQ(lineas[1], u"BACKUP DATABASE ZEMGENERAL TO DISK = '"_qs + QString(destino).replace(u"'"_qs, u"''"_qs) +
                          u"\\ZEMGENERAL_db_DiaSemana.bak' WITH FORMAT"_qs);
  const QFile::Permissions otros = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
  EXPECT_EQ(QFileInfo(archivo).permissions() & otros, QFile::Permissions());
  EXPECT_EQ(Ini("GestorTareaCopia"), u"TareaProgramadaWindows"_qs);
  EXPECT_EQ(Ini("BasesDatos"), u"ZEMGENERAL·ZEMEMP"_qs);

  // A crontab that cannot start or refuses the table is a failure; a user
  // without one yet gets one.
  lanzador.output = "no crontab for ana\n";
  IniFile(ArchivoINI).WriteString(u"Backup MS SQL Server"_qs, u"HoraInicio"_qs, u"01:00:00"_qs);
  Control<QLineEdit>("edHoraInicio").setText(u"04:00:00"_qs);
  for (const auto& [arranca, codigo] : {std::pair{false, 0}, {true, 1}}) {
    lanzador.starts = arranca;
    lanzador.exitCode = codigo;
    mensajes.Expect(u"A"_qs);
    EXPECT_FALSE(formulario->CrearTareaProgramadaWindows());
    EXPECT_EQ(mensajes.Texts().last(), kNoCreada + u"¡Error creando la tarea programada!"_qs);
  }
  EXPECT_EQ(Ini("HoraInicio"), u"01:00:00"_qs);
}

TEST_F(Copias, AProgramFolderWithALineBreakWritesNeitherTheCrontabNorTheRunnerFile) {
  TareaCrontab(u"ZEMGENERAL"_qs);
  const QString antes = CarpetaPrograma;
  CarpetaPrograma = carpeta.Path() + u"/nl\n* * * * * touch X #/"_qs;
  QDir().mkpath(CarpetaPrograma);
  RecordingLauncher lanzador;
  lanzador.output = "0 3 * * * /usr/bin/otra\n";
  mensajes.Expect(u"A"_qs);
  const bool creada = formulario->CrearTareaProgramadaWindows();
  CarpetaPrograma = antes;
  EXPECT_FALSE(creada);
  ASSERT_EQ(lanzador.Calls().size(), 1) << "the crontab is only read";
  EXPECT_TRUE(mensajes.Texts().value(0).startsWith(kNoCreada + u"¡Error creando la tarea programada!"_qs));
  EXPECT_FALSE(QFileInfo::exists(carpeta.Path() + u"/nl\n* * * * * touch X #/DEXOWIN.CFG"_qs));
  EXPECT_EQ(Ini("GestorTareaCopia"), u"(ninguno)"_qs);
}

// The runner, run for real, writes today's files, which the restore takes;
// the restore connects again only what was connected.
TEST_F(Copias, TheRunnerBacksUpForRealAndTheRestoreTakesItsFiles) {
  TareaCrontab(u"ZEMGENERAL\nZEMEMP\nNOEXISTE"_qs);
  {
    RecordingLauncher lanzador;
    ASSERT_TRUE(formulario->CrearTareaProgramadaWindows());
  }
  Ejecutar(u"CREATE TABLE PRUEBA (Codigo INTEGER)"_qs);
  Ejecutar(u"INSERT INTO PRUEBA VALUES (1)"_qs);
  QProcess runner;
  runner.start(QStringLiteral(DEXOWIN_BINARIO), {QDir::current().filePath(u"DEXOWIN.CFG"_qs)});
  ASSERT_TRUE(runner.waitForFinished(60000));
  EXPECT_EQ(runner.exitCode(), 1) << "NOEXISTE fails";
  EXPECT_TRUE(runner.readAllStandardError().contains("NOEXISTE"));
  const QString copia = destino + u"/ZEMEMP_db_"_qs + Hoy() + u".bak"_qs;
  ASSERT_TRUE(QFileInfo::exists(copia));
  EXPECT_TRUE(QFileInfo::exists(destino + u"/ZEMGENERAL_db_"_qs + Hoy() + u".bak"_qs));

  Ejecutar(u"INSERT INTO PRUEBA VALUES (2)"_qs);
  Conexiones(Servicios()).DatabaseGeneral->Close();
  Control<QTabWidget>("PageControl1").setCurrentIndex(1);
  auto& bases = Control<QListWidget>("edBasesDatosRestaurar");
  ASSERT_EQ(bases.count(), 3);
  bases.setCurrentRow(1);
  formulario->edBasesDatosRestaurarClick();
  auto& copias = Control<QListWidget>("edCopiasSeguridad");
  ASSERT_EQ(copias.count(), 1);
  copias.setCurrentRow(0);
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  formulario->pbRestaurarCopiaSeguridadClick();
  EXPECT_EQ(mensajes.Messages().size(), 1);
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM PRUEBA"_qs, u"Database"_qs), u"1"_qs);
  EXPECT_TRUE(Conexiones(Servicios()).Database->Connected());
  EXPECT_FALSE(Conexiones(Servicios()).DatabaseGeneral->Connected());

  // Another program using the database: the server refuses, nothing changes.
  SecondProcess otro(u"usar-base"_qs, {{u"ZEM_PROGRAM_FOLDER"_qs, QDir::currentPath()}});
  ASSERT_EQ(otro.ReadReport(), u"conectada"_qs);
  Ejecutar(u"INSERT INTO PRUEBA VALUES (3)"_qs);
  mensajes.Expect(u"C"_qs, u"SI"_qs).Expect(u"A"_qs);
  formulario->pbRestaurarCopiaSeguridadClick();
  EXPECT_TRUE(mensajes.Texts().last().startsWith(u"¡No ha sido posible restaurar la copia de seguridad!. Motivo: "_qs));
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM PRUEBA"_qs, u"Database"_qs), u"2"_qs);
}

TEST_F(Copias, TheServersDatabasesButTempdbAndTheRestorePageReadsTheSettingsAgain) {
  formulario->show();
  formulario->AgregartodaslasBasesdeDatos1Click();
  const QImage programacion = CapturaFormulario(*formulario, u"GENEBSQL-1"_qs);
  const QStringList bases = Control<QPlainTextEdit>("edBasesDatos").toPlainText().split(u'\n');
  EXPECT_TRUE(bases.contains(u"ZEMGENERAL"_qs) && bases.contains(u"msdb"_qs));
  EXPECT_FALSE(bases.contains(u"tempdb"_qs));
  Control<QTabWidget>("PageControl1").setCurrentIndex(1);
  EXPECT_EQ(Control<QPlainTextEdit>("edBasesDatos").toPlainText(), u"ZEMGENERAL"_qs) << "unsaved edits discarded";
  // Another database's files whose name begins with this one's and "_" are listed too.
  for (const char* nombre : {"ZEMGENERAL_db_Lunes.bak", "ZEMGENERAL_X_db_Lunes.bak", "ZEMEMP_db_Lunes.bak"})
    TextFile::Write(destino + u'/' + QLatin1String(nombre), u"x"_qs);
  Control<QListWidget>("edBasesDatosRestaurar").setCurrentRow(0);
  formulario->edBasesDatosRestaurarClick();
  EXPECT_NE(CapturaFormulario(*formulario, u"GENEBSQL-2"_qs), programacion);
  auto& copias = Control<QListWidget>("edCopiasSeguridad");
  QStringList listadas;
  for (int i = 0; i < copias.count(); ++i) listadas.append(QFileInfo(copias.item(i)->text()).fileName());
  EXPECT_EQ(listadas, (QStringList{u"ZEMGENERAL_db_Lunes.bak"_qs, u"ZEMGENERAL_X_db_Lunes.bak"_qs}));
  mensajes.Expect(u"A"_qs);
  Control<QListWidget>("edCopiasSeguridad").clearSelection();
  formulario->pbRestaurarCopiaSeguridadClick();
  EXPECT_EQ(mensajes.Texts().last(), u"¡Debe indicar la Base de Datos y la Copia de Seguridad correspondiente!"_qs);
}
