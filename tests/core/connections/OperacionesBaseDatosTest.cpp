#include "core/connections/AperturaTablas.h"
#include "core/connections/BaseDatosEmpresa.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/CopiasSQLServer.h"
#include "core/connections/RepararTablas.h"
#include "core/connections/Transacciones.h"
#include "core/connections/VersionBDE.h"
#include "core/progress/Geneprog.h"
#include "core/sql/MensajesSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"
#include "platform/sql/BackupFiles.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/fixtures/SecondProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>
#include <vector>

namespace {

const QDateTime kMomentoCopia(QDate(2024, 1, 31), QTime(15, 45, 0));

// Chooses a backup's name in ZEM_CARPETA at the same moment as the test,
// tells it, and waits for its line: a program that has not written its
// backup yet.
void nombreElegido() {
  ManualClock reloj(kMomentoCopia);
  SecondProcess::Report(ReservarNombreCopiaSeguridad(qEnvironmentVariable("ZEM_CARPETA"), u"ZEMEMP3"_qs));
  SecondProcess::NextLine();
}
[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"backup-name"_qs, nombreElegido);

constexpr int kCopiasPorPrograma = 6;
constexpr int kCopiasPorSegundo = 2;  // of each program

// Starts as the program starts on the installation of ZEM_INSTALACION, waits
// for the go and makes kCopiasPorPrograma backups of company 3 into
// ZEM_CARPETA, kCopiasPorSegundo in each second of its clock: programs that
// back up faster than once a second.
void copiasSeguidas() {
  ManualClock reloj(kMomentoCopia);
  ScriptedPresenter mensajes;
  QDir::setCurrent(qEnvironmentVariable("ZEM_INSTALACION"));
  TfGENEINIC servicios(QStringList{});
  ConectarEmpresa(servicios, 3);
  EmpresaActual = 3;
  SecondProcess::Report(u"listo"_qs);
  SecondProcess::NextLine();
  for (int copia = 0; copia < kCopiasPorPrograma; ++copia) {
    if (copia > 0 && copia % kCopiasPorSegundo == 0) reloj.Advance(1000);
    if (!CopiaSeguridadSQLServer(servicios, QString(), qEnvironmentVariable("ZEM_CARPETA"))) std::exit(2);
  }
  SecondProcess::Report(u"hecho"_qs);
}
[[maybe_unused]] const bool copiasRegistradas = SecondProcess::RegisterJob(u"backups-in-a-row"_qs, copiasSeguidas);

const QString kNombres = u"SELECT Nombre FROM CLIENTES ORDER BY Codigo"_qs;
const QString kEmpresa = u"Database"_qs;

class OperacionesBaseDatos : public ConexionesFixture {
 protected:
  // Company 3, current, with its customers table.
  void EmpresaTres() {
    ASSERT_TRUE(CrearBaseDatosEmpresa(3));
    ConectarEmpresa(Servicios(), 3);
    EmpresaActual = 3;
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'antes')"_qs);
    Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (3, 'otro')"_qs);
  }
  Database& Empresa() { return *Conexiones(Servicios()).Database; }
};

}  // namespace

TEST_F(OperacionesBaseDatos, ATransactionCoversTheCompanyConnectionAndItsADOTwin) {
  Iniciar();
  EmpresaTres();
  AdoConnection& ado = *Conexiones(Servicios()).ADOConnection;
  EXPECT_TRUE(FinalizarTransaccion(Servicios()));  // none running: nothing to do
  // Rolled back, then committed by FinalizarTransaccion: the writes of both roads go together.
  for (const char* final : {"antes\r\notro", "cambiado"}) {
    ASSERT_TRUE(IniciarTransaccion(Servicios()) && IniciarTransaccion(Servicios(), &Empresa()));  // reused
    EXPECT_TRUE(Empresa().InTransaction() && ado.InTransaction());
    Ejecutar(u"UPDATE CLIENTES SET Nombre = 'cambiado'"_qs);
    ASSERT_EQ(EjecutarSQLADO(u"DELETE FROM CLIENTES WHERE Codigo = 3"_qs, kEmpresa), QString());
    *final == 'a' ? Empresa().Rollback() : (void)FinalizarTransaccion(Servicios());
    EXPECT_FALSE(Empresa().InTransaction() || ado.InTransaction());
    EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QLatin1String(final));
  }
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(OperacionesBaseDatos, WithoutItsConnectionStringTheADOTwinStaysOutOfTheTransaction) {
  Iniciar();
  EmpresaTres();
  AdoConnection& ado = *Conexiones(Servicios()).ADOConnection;
  ado.Close();
  ado.SetConnectionString(QString());
  ASSERT_TRUE(IniciarTransaccion(Servicios()));
  EXPECT_TRUE(Empresa().InTransaction());
  EXPECT_FALSE(ado.InTransaction() || ado.Connected());
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'cambiado' WHERE Codigo = 3"_qs);
  EXPECT_TRUE(FinalizarTransaccion(Servicios()));
  EXPECT_FALSE(Empresa().InTransaction());
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), u"antes\r\ncambiado"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

// Two programs backing up in the same second, the other still before its
// first byte: each backup has a file of its own.
TEST_F(OperacionesBaseDatos, TwoProgramsChoosingABackupNameAtOnceTakeTwoNames) {
  ManualClock reloj(kMomentoCopia);
  Iniciar();
  EmpresaTres();
  const QString copias = carpeta.File(u"Copias"_qs);
  QDir().mkpath(copias);
  const QString primero = copias + u"\\dbb_ZEMEMP3_20240131154500.bak"_qs;
  const QString segundo = copias + u"\\dbb_ZEMEMP3_20240131154459.bak"_qs;
  {
    SecondProcess otro(u"backup-name"_qs, {{u"ZEM_CARPETA"_qs, copias}});
    EXPECT_EQ(otro.ReadReport(), primero);
    EXPECT_EQ(NombreCopiaSeguridadNueva(copias, u"ZEMEMP3"_qs), segundo);
    EXPECT_EQ(ReservarNombreCopiaSeguridad(copias, u"ZEMEMP3"_qs), segundo);
    ReleaseBackupName(Paths::Internal(segundo));
    ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
    otro.Send(u"fin"_qs);
    EXPECT_EQ(otro.Finish(), 0);
  }
  const QStringList bak{u"*.bak"_qs};
  EXPECT_EQ(QDir(copias).entryList(bak, QDir::Files), QStringList{u"dbb_ZEMEMP3_20240131154459.bak"_qs});
  // The name the ended program held is free again once a backup has looked.
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  EXPECT_EQ(QDir(copias).entryList(bak, QDir::Files),
            QStringList({u"dbb_ZEMEMP3_20240131154458.bak"_qs, u"dbb_ZEMEMP3_20240131154459.bak"_qs}));
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  EXPECT_EQ(QDir(copias).entryList(QDir::Files | QDir::Hidden),
            QStringList({u"dbb_ZEMEMP3_20240131154458.bak"_qs, u"dbb_ZEMEMP3_20240131154459.bak"_qs,
                         u"dbb_ZEMEMP3_20240131154500.bak"_qs}));
}

// The seconds after the clock that earlier backups took in a crowded folder
// are not followed: the name is the latest free one up to the clock.
TEST_F(OperacionesBaseDatos, ABackupNameDoesNotRunAheadOfTheClockInACrowdedFolder) {
  ManualClock reloj(kMomentoCopia);
  const QString copias = carpeta.File(u"Copias"_qs);
  QDir().mkpath(copias);
  const auto nombre = [&](int segundos) {
    return copias + u"\\dbb_ZEMEMP3_"_qs + kMomentoCopia.addSecs(segundos).toString(u"yyyyMMddHHmmss"_qs) + u".bak"_qs;
  };
  // Seconds taken in the folder, the clock's second, the name expected.
  const struct {
    QList<int> tomados;
    int reloj;
    int esperado;
  } casos[] = {{{}, 0, 0}, {{0}, 0, -1}, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1, -1}, {{-1, 0, 1, 2, 3}, 2, -2},
               {{-3, -2, -1, 0, 1, 2}, 0, -4}};
  for (const auto& caso : casos) {
    QDir(copias).removeRecursively();
    QDir().mkpath(copias);
    for (const int tomado : caso.tomados) {
      QFile archivo(Paths::Internal(nombre(tomado)));
      ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    }
    reloj.Set(kMomentoCopia.addSecs(caso.reloj));
    EXPECT_EQ(NombreCopiaSeguridadNueva(copias, u"ZEMEMP3"_qs), nombre(caso.esperado)) << caso.reloj;
    EXPECT_EQ(ReservarNombreCopiaSeguridad(copias, u"ZEMEMP3"_qs), nombre(caso.esperado)) << caso.reloj;
    ReleaseBackupName(Paths::Internal(nombre(caso.esperado)));
  }
}

// Programs backing up the same company into one folder at once, faster than
// once a second: every backup has a whole file of its own, none named
// later than the clock by more than the backups of its second need.
TEST_F(OperacionesBaseDatos, ProgramsBackingUpAtOnceKeepEveryBackupUnderNamesThatKeepUpWithTheClock) {
  ManualClock reloj(kMomentoCopia);
  Iniciar();
  EmpresaTres();
  Empresa().Close();
  const QString copias = carpeta.File(u"Copias"_qs);
  QDir().mkpath(copias);
  constexpr int kProgramas = 4;
  std::vector<std::unique_ptr<SecondProcess>> programas;
  for (int programa = 0; programa < kProgramas; ++programa) {
    programas.push_back(std::make_unique<SecondProcess>(
        u"backups-in-a-row"_qs, QMap<QString, QString>{{u"ZEM_INSTALACION"_qs, carpeta.Path()}, {u"ZEM_CARPETA"_qs, copias}}));
    ASSERT_EQ(programas.back()->ReadReport(), u"listo"_qs);
  }
  for (const auto& programa : programas) programa->Send(u"adelante"_qs);
  for (const auto& programa : programas) {
    EXPECT_EQ(programa->ReadReport(), u"hecho"_qs);
    EXPECT_EQ(programa->Finish(), 0);
  }
  const QStringList copiasHechas = QDir(copias).entryList(QDir::Files | QDir::Hidden);
  ASSERT_EQ(copiasHechas.size(), kProgramas * kCopiasPorPrograma) << copiasHechas.join(u' ').toStdString();
  const QDateTime ultimoSegundo = kMomentoCopia.addSecs(kCopiasPorPrograma / kCopiasPorSegundo - 1);
  const QRegularExpression forma(u"^dbb_ZEMEMP3_(\\d{14})\\.bak$"_qs);
  for (const QString& copia : copiasHechas) {
    const QRegularExpressionMatch partes = forma.match(copia);
    ASSERT_TRUE(partes.hasMatch()) << copia.toStdString();
    const QDateTime momento = QDateTime::fromString(partes.captured(1), u"yyyyMMddHHmmss"_qs);
    EXPECT_LE(momento, ultimoSegundo.addSecs(kProgramas * kCopiasPorSegundo - 1)) << copia.toStdString();
    EXPECT_EQ(CheckBackup(QDir(copias).filePath(copia)), BackupCheck::Whole) << copia.toStdString();
  }
}

TEST_F(OperacionesBaseDatos, TwoBackupsInOneSecondKeepTwoFilesAndAForeignFileIsNotRestored) {
  ManualClock reloj(QDateTime(QDate(2024, 1, 31), QTime(15, 45, 0)));
  Iniciar();
  EmpresaTres();
  const QString copias = carpeta.File(u"Copias"_qs);
  QDir().mkpath(copias);
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'segunda'"_qs);
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  EXPECT_EQ(QDir(copias).entryList(QDir::Files),
            QStringList({u"dbb_ZEMEMP3_20240131154459.bak"_qs, u"dbb_ZEMEMP3_20240131154500.bak"_qs}));
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'después'"_qs);
  // The program's own company connection uses the database: the server
  // refuses, as SQL Server does, and nothing of it changes.
  try {
    RestaurarCopiaSQLServer(Servicios(), u"ZEMEMP3"_qs, copias + u"\\dbb_ZEMEMP3_20240131154500.bak"_qs);
    ADD_FAILURE() << "restored over the company in use";
  } catch (const std::exception& error) {
    EXPECT_TRUE(TextoExcepcion(error).contains(
        u"Exclusive access could not be obtained because the database is in use."_qs))
        << TextoExcepcion(error).toStdString();
  }
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), u"después\r\ndespués"_qs);
  Empresa().Close();
  ASSERT_TRUE(RestaurarCopiaSQLServer(Servicios(), u"ZEMEMP3"_qs, copias + u"\\dbb_ZEMEMP3_20240131154500.bak"_qs));
  Empresa().Open();
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), u"antes\r\notro"_qs);

  // A whole database file that no backup wrote replaces nothing.
  const QString ajena = carpeta.File(u"Copias/ajena.bak"_qs);
  ASSERT_TRUE(QFile::copy(carpeta.File(u"SERVIDOR/ZEMEMP3.sqlite"_qs), ajena));
  EXPECT_THROW(RestaurarCopiaSQLServer(Servicios(), u"ZEMEMP3"_qs, ajena), std::exception);
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), u"antes\r\notro"_qs);
}

TEST_F(OperacionesBaseDatos, ACompanyDatabaseIsCreatedOnceAndRestoredHoldsWhatItHeldAtItsBackup) {
  ManualClock reloj(QDateTime(QDate(2024, 1, 31), QTime(15, 45, 0)));
  EXPECT_EQ(NombreCopiaSeguridad(u"D:\\Copias"_qs, u"EMP3"_qs), u"D:\\Copias\\dbb_EMP3_20240131154500.bak"_qs);
  instalacion.Ini(u"Microsoft SQL Server"_qs, u"NombreIntercalacionMSSQL"_qs, u"Modern_Spanish_CI_AI"_qs);
  Iniciar();
  EmpresaTres();
  EXPECT_EQ(EjecutarSQL(u"SELECT cmptlevel, recovery_model_desc, collation_name FROM "
                        "master.dbo.sysdatabases WHERE name = 'ZEMEMP3'"_qs,
                        kEmpresa),
            u"80|SIMPLE|Modern_Spanish_CI_AI"_qs);
  // A quote in the folder stays inside the statement's one literal.
  const QString copias = carpeta.File(u"Copias de O'Donnell"_qs);
  QDir().mkpath(copias);
  // No folder chosen (here: no chooser at all, which is warned of): nothing runs.
  mensajes.Expect(u"A"_qs);
  EXPECT_FALSE(CopiaSeguridadSQLServer(Servicios(), QString(), QString()));
  ASSERT_TRUE(CopiaSeguridadSQLServer(Servicios(), QString(), copias));
  Ejecutar(u"UPDATE CLIENTES SET Nombre = 'después'"_qs);
  Empresa().Close();
  ASSERT_TRUE(RestaurarCopiaSQLServer(Servicios(), u"ZEMEMP3"_qs, NombreCopiaSeguridad(copias, u"ZEMEMP3"_qs)));
  Empresa().Open();
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_EQ(ejecutar(kNombres, kEmpresa, QString()), u"antes\r\notro"_qs);
  // The server's refusal reaches the caller once the progress window is off.
  reloj.Advance(1000);
  EXPECT_THROW(RestaurarCopiaSQLServer(Servicios(), QString(), NombreCopiaSeguridad(copias, u"ZEMEMP3"_qs)),
               std::exception);
  EXPECT_EQ(fGENEPROG, nullptr);
  // A second creation stops at its first statement: the SQL layer's warnings, then the error that ends the program.
  mensajes.Expect(u"A"_qs).Expect(QString()).Expect(u"E"_qs);
  EXPECT_FALSE(CrearBaseDatosEmpresa(3));
  EXPECT_TRUE(mensajes.Texts().value(2).endsWith(u"CREATE DATABASE ZEMEMP3  COLLATE Modern_Spanish_CI_AI"_qs));
  EXPECT_TRUE(mensajes.Texts().value(3).startsWith(u"¡Imposible crear la base de datos ZEMEMP3!. Motivo:"_qs));
}

// A collation name cannot be quoted: one that could end the statement is
// refused before anything runs.
TEST_F(OperacionesBaseDatos, ACollationThatIsNotAPlainNameIsRefused) {
  Iniciar();
  ASSERT_TRUE(CrearBaseDatosEmpresa(3));
  NombreIntercalacionMSSQL = u"Modern_Spanish_CI_AI DROP DATABASE ZEMEMP3"_qs;
  mensajes.Expect(u"E"_qs);
  EXPECT_FALSE(CrearBaseDatosEmpresa(4));
  EXPECT_EQ(mensajes.Texts().value(0), u"¡Imposible crear la base de datos ZEMEMP4!. Motivo:Invalid collation "
                                       "'Modern_Spanish_CI_AI DROP DATABASE ZEMEMP3'."_qs);
  EXPECT_TRUE(QFileInfo::exists(instalacion.ServerFolder() + u"/ZEMEMP3.sqlite"_qs));
  EXPECT_FALSE(QFileInfo::exists(instalacion.ServerFolder() + u"/ZEMEMP4.sqlite"_qs));
}

TEST_F(OperacionesBaseDatos, ParadoxTablesWithIndexOrCorruptionErrorsGoOnceToTheRepairList) {
  instalacion.Engine(u"Paradox"_qs);
  Iniciar();
  EmpresaTres();
  const QString carpetaEmpresa = instalacion.GeneralFolder() + u"/3/"_qs;
  Empresa().Close();
  QFile datos(carpetaEmpresa + u"DATOS.SQLITE"_qs);  // made by the company's creation
  ASSERT_TRUE(datos.open(QIODevice::ReadWrite) && datos.write(QByteArray(100, 'x')) == 100);  // its header
  datos.close();
  Table clientes, pedidos;
  clientes.SetTableName(u"CLIENTES"_qs);
  pedidos.SetTableName(u"PEDIDOS"_qs);
  mensajes.Expect(u"E"_qs);
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), clientes));
  EXPECT_TRUE(mensajes.Texts().value(0).contains(u"Corrupt table/index header."_qs));
  // The engine, the table, the error; the list afterwards.
  const QString una = carpetaEmpresa + u"CLIENTES,"_qs, dos = una + carpetaEmpresa + u"PEDIDOS,"_qs;
  const std::tuple<const char*, Table*, const char*, QString> casos[] = {
      {"Paradox", &pedidos, "Record locked by another user\ndatabase is locked", una},
      {"Microsoft SQL Server", &pedidos, "Index is out of date", una},
      {"Paradox", &pedidos, "index is out of date", dos}, {"Paradox", &clientes, "Index is out of date", dos},
      {"Paradox", nullptr, "Index is out of date", dos},
  };
  for (const auto& [motor, tabla, error, lista] : casos) {
    TipoBaseDatos = QLatin1String(motor);
    RepararTablas(Servicios(), tabla, QLatin1String(error));
    EXPECT_EQ(IniFile(ArchivoINI).ReadString(u"Reconstrucción Automática de Tablas"_qs, u"Tablas"_qs, QString()), lista)
        << error;
  }
}

TEST(VersionBDE, GivesTheEnginesVersionInItsFourLines) {
  const QRegularExpression forma(u"^EngineVersion=3\\.\\d{3}\r\nInterfaceLevel=3\\.\\d{3}\r\n"
                                 "VersionDate=\\d\\d/\\d\\d/\\d\\d\r\nVersionTime=\\d\\d:\\d\\d:\\d\\d$"_qs);
  EXPECT_TRUE(forma.match(VersionBDE()).hasMatch()) << VersionBDE().toStdString();
}
