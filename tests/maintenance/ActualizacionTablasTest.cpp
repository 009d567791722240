#include "core/connections/ConexionEmpresa.h"
#include "core/sql/BaseDatosSQL.h"
#include "core/startup/Configuracion.h"
#include "maintenance/actualizacion/ProcesoActualizacion.h"
#include "platform/IniFile.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/maintenance/ActualizacionFixture.h"

#include <QDir>

namespace {

using ActualizacionTablas = ActualizacionFixture;

const QString kCRLF = u"\r\n"_qs;

}  // namespace

TEST_F(ActualizacionTablas, RebuildsEveryChosenTableKeepingItsRowsAndCreatesTheMissingOnes) {
  for (const char* archivo : {"dbb_ZEMEMP1_20200101000000.bak", "otra.bak"})
    QFile(copias + u'/' + QLatin1String(archivo)).open(QIODevice::WriteOnly);
  RealizarActualizacion(ejecucion, opciones);

  EXPECT_EQ(ejecucion.Errores(), QString());
  QString empresas;
  for (const QString& base : Empresas())
    empresas += u"Inicio del proceso de Actualización de la Base de Datos "_qs + base + kCRLF +
                u"...Actualizando la Tabla ARTICULOS\r\n...Actualizando la Tabla CLIENTES\r\n"
                "...Comprobando el estado de la Tabla CLIENTES (comprobación rápida)\r\n"
                "...Actualizando Sentencias SQL de la tabla CLIENTES\r\n\r\n"_qs;
  QString creadas;
  for (const QString& base : Empresas())
    creadas += u"Inicio del proceso de Creación de Tablas de la Base de Datos "_qs + base +
               u"\r\n...Creando la Tabla PROVEEDO\r\n\r\n"_qs;
  EXPECT_EQ(ejecucion.Progreso(),
            u"INICIO DEL PROCESO\r\n\r\nEliminando archivos de Copia de Seguridad anteriores\r\n\r\n"
            "Realizando Copia de Seguridad de la Base de Datos ZEMGENERAL\r\n"
            "Realizando Copia de Seguridad de la Base de Datos ZEMEMP1\r\n"
            "Realizando Copia de Seguridad de la Base de Datos ZEMEMP2\r\n\r\n"
            "Inicio del proceso de Actualización de la Base de Datos ZEMGENERAL\r\n\r\n"_qs +
                empresas + u"Inicio del proceso de Creación de Tablas de la Base de Datos ZEMGENERAL\r\n\r\n"_qs +
                creadas + u"FIN DEL PROCESO\r\n"_qs);
  EXPECT_EQ(ResultadoActualizacion, ejecucion.Progreso());

  for (const QString& base : Empresas()) {
    SCOPED_TRACE(base.toStdString());
    EXPECT_EQ(Columnas(base, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTelefono\r\nNuevo\r\nNumero"_qs);
    // The auto numbers start again, in the order of the old key.
    EXPECT_EQ(Filas(u"SELECT Codigo, Nombre, Telefono, Nuevo, Numero FROM %1.dbo.CLIENTES ORDER BY Codigo"_qs.arg(base)),
              u"5|Ana|911|1/2|1\r\n9|Luis|922|1/2|2"_qs);
    EXPECT_EQ(Objetos(base), u"ARTICULOS\r\nCLIENTES\r\nPROVEEDO"_qs);
    EXPECT_EQ(Filas(u"SELECT I.name FROM %1.dbo.sysindexes I JOIN %1.dbo.sysobjects O ON O.id = I.id "
                    "WHERE O.name IN ('CLIENTES', 'ARTICULOS') ORDER BY I.name"_qs.arg(base)),
              u"ARTICULOS_Clave1\r\nARTICULOS_Descripcion\r\nCLIENTES_Clave1\r\nCLIENTES_Nombre"_qs);
    // A new row is numbered after the last.
    Ejecutar(u"INSERT INTO %1.dbo.CLIENTES (Codigo) VALUES (12)"_qs.arg(base), u"DatabaseGeneral"_qs);
    EXPECT_EQ(Filas(u"SELECT Numero FROM %1.dbo.CLIENTES WHERE Codigo = 12"_qs.arg(base)), u"3"_qs);
  }
  EXPECT_EQ(Objetos(u"ZEMGENERAL"_qs).contains(u"CLIENTES"_qs), false);

  const IniFile ini(ArchivoINI);
  EXPECT_EQ(ini.ReadString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, QString()), copias);
  EXPECT_NE(ini.ReadString(u"Actualización de la Base de Datos"_qs, u"UltimaFechaActualizacion"_qs, QString()),
            u"01/01/2026"_qs);

  // The old backups went first, nothing else of the folder; each new one
  // brings back the old table and its rows.
  EXPECT_EQ(QDir(copias).entryList({u"*.bak"_qs}).size(), 4);
  EXPECT_TRUE(QFile::exists(copias + u"/otra.bak"_qs));
  for (const QString& base : Empresas()) {
    SCOPED_TRACE(base.toStdString());
    const QStringList archivos = QDir(copias).entryList({u"dbb_"_qs + base + u"_*.bak"_qs});
    ASSERT_EQ(archivos.size(), 1);
    EXPECT_NE(archivos[0], u"dbb_ZEMEMP1_20200101000000.bak"_qs);
    Ejecutar(u"RESTORE DATABASE %1  FROM DISK = '%2' WITH REPLACE"_qs.arg(base, copias + u'/' + archivos[0]),
             u"DatabaseGeneral"_qs);
    EXPECT_EQ(Columnas(base, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTlf\r\nAntiguo\r\nNumero"_qs);
    EXPECT_EQ(Filas(u"SELECT Codigo, Tlf, Antiguo, Numero FROM %1.dbo.CLIENTES ORDER BY Codigo"_qs.arg(base)),
              u"5|911|x|70\r\n9|922|y|80"_qs);
    EXPECT_EQ(Objetos(base), u"CLIENTES"_qs);
  }
}

// Another program's datasets opened on the old structure: editing reads a
// dropped column, an engine error; reopened they see the new structure.
TEST_F(ActualizacionTablas, ADatasetOpenOnTheOldTableGetsAnErrorAndSeesTheNewOneWhenReopened) {
  opciones.basesDatos = {u"ZEMEMP1"_qs};
  opciones.tablas = {u"CLIENTES"_qs};
  opciones.realizarCopiaSeguridad = false;
  ConectarEmpresa(Servicios(), 1);
  Table tabla;
  tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  tabla.SetTableName(u"CLIENTES"_qs);
  tabla.Open();
  Query consulta;
  consulta.SetDatabaseName(tabla.DatabaseName());
  consulta.SQL().SetText(u"SELECT Codigo, Antiguo FROM CLIENTES"_qs);
  consulta.Open();
  RealizarActualizacion(ejecucion, opciones);
  ASSERT_EQ(ejecucion.Errores(), QString());

  EXPECT_THROW(tabla.Edit(), EDatabaseError);  // the row is read again, by the old columns
  consulta.Close();
  EXPECT_THROW(consulta.Open(), EDatabaseError);
  tabla.Close();
  tabla.Open();
  EXPECT_EQ(tabla.FindField(u"Antiguo"_qs), nullptr);
  EXPECT_EQ(tabla.FieldByName(u"Telefono"_qs).AsString(), u"911"_qs);
  EXPECT_EQ(tabla.RecordCount(), 2);
}

namespace {

struct Fallo {
  const char* caso;
  const char* sustituida;  // a line of the scripts
  const char* sustituta;
  const char* mapeado;
  const char* error;        // what the error log holds
  bool deshecha;            // the table's transaction was rolled back
};

// Makes CLIENTES_Nombre list another column than the one it holds.
void EstropearIndice(const QString& archivo) {
  const std::shared_ptr<Connection> base = OpenConnection(archivo);
  base->Execute(u"CREATE INDEX CLIENTES_Nombre ON CLIENTES (Nombre)"_qs);
  base->Execute(u"PRAGMA writable_schema = ON"_qs);
  base->Execute(u"UPDATE sqlite_schema SET sql = 'CREATE INDEX CLIENTES_Nombre ON CLIENTES (Tlf)' "
                "WHERE name = 'CLIENTES_Nombre'"_qs);
  const int version = base->QueryRows(u"PRAGMA schema_version"_qs).rows[0][0].toInt();
  base->Execute(u"PRAGMA schema_version = %1"_qs.arg(version + 1));
  base->Execute(u"PRAGMA writable_schema = OFF"_qs);
}

}  // namespace

TEST_F(ActualizacionTablas, AFailingTableIsLeftAsItWasAndStopsTheLaterPhases) {
  const Fallo fallos[] = {
      {"creation", "CLIENTES/C/4/Nuevo/ftString/10//", "CLIENTES/C/4/Nombre/ftString/10//", "CLIENTES=Tlf,Telefono",
       "duplicate column name: Nombre", true},
      {"copy", "", "", "CLIENTES=Tlf", "en la siguiente sentencia SQL: USE ZEMEMP1; INSERT INTO TEMP_CLIENTES", true},
      {"a value that no longer fits", "CLIENTES/C/2/Nombre/ftString/40//", "CLIENTES/C/2/Nombre/ftString/3//",
       "CLIENTES=Tlf,Telefono", "String or binary data would be truncated.", true},
      {"indexes", "CLIENTES/I/2/Nombre/Nombre//", "CLIENTES/I/2/Nombre/NoHay//", "CLIENTES=Tlf,Telefono",
       "en la siguiente sentencia SQL: USE ZEMEMP1; CREATE INDEX CLIENTES_Nombre", true},
      {"integrity", "", "", "CLIENTES=Tlf,Telefono",
       "La integridad de la tabla ZEMEMP1:CLIENTES no permite su actualización. Detalle: DBCC CHECKTABLE "
       "(ZEMEMP1.dbo.CLIENTES) found ",
       false},
  };
  const QString scripts = opciones.definiciones;
  opciones.basesDatos = {u"ZEMEMP1"_qs};
  opciones.tablas = {u"CLIENTES"_qs};
  opciones.realizarCopiaSeguridad = false;
  for (const Fallo& fallo : fallos) {
    SCOPED_TRACE(fallo.caso);
    opciones.definiciones = QString(scripts).replace(QLatin1String(fallo.sustituida), QLatin1String(fallo.sustituta));
    opciones.mapeado = QLatin1String(fallo.mapeado);
    // An index that lists another column is found by the full check alone.
    opciones.comprobacionCompleta = QLatin1String(fallo.caso) == QLatin1String("integrity");
    if (opciones.comprobacionCompleta) EstropearIndice(carpeta.File(u"SERVIDOR/ZEMEMP1.sqlite"_qs));
    RealizarActualizacion(ejecucion, opciones);

    EXPECT_TRUE(ejecucion.Errores().contains(QString::fromUtf8(fallo.error))) << ejecucion.Errores().toStdString();
    EXPECT_EQ(ejecucion.Progreso().contains(u"...Deshaciendo transacción en ZEMEMP1: CLIENTES\r\n"_qs), fallo.deshecha);
    EXPECT_TRUE(ejecucion.Progreso().endsWith(u"\r\n¡FIN DEL PROCESO CON ERRORES!\r\n"_qs));
    EXPECT_FALSE(ejecucion.Progreso().contains(u"Creación de Tablas"_qs));
    EXPECT_EQ(ResultadoActualizacion, ejecucion.Progreso() + kCRLF + ejecucion.Errores());
    EXPECT_EQ(Columnas(u"ZEMEMP1"_qs, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTlf\r\nAntiguo\r\nNumero"_qs);
    EXPECT_EQ(Filas(u"SELECT Codigo, Nombre, Tlf, Antiguo, Numero FROM ZEMEMP1.dbo.CLIENTES ORDER BY Codigo"_qs),
              u"5|Ana|911|x|70\r\n9|Luis|922|y|80"_qs);
    EXPECT_EQ(Objetos(u"ZEMEMP1"_qs), u"CLIENTES"_qs);
  }
}

// Unless the user asks for the full check, a table's pages and records alone
// are checked before its rebuild, and the log says which check ran.
TEST_F(ActualizacionTablas, TheCheckBeforeARebuildIsTheQuickOneUnlessTheFullOneIsAsked) {
  opciones.basesDatos = {u"ZEMEMP1"_qs};
  opciones.tablas = {u"CLIENTES"_qs};
  opciones.realizarCopiaSeguridad = false;
  for (const bool completa : {false, true}) {
    SCOPED_TRACE(completa);
    opciones.comprobacionCompleta = completa;
    RealizarActualizacion(ejecucion, opciones);
    EXPECT_EQ(ejecucion.Errores(), QString());
    EXPECT_TRUE(ejecucion.Progreso().contains(
        u"...Actualizando la Tabla CLIENTES\r\n...Comprobando el estado de la Tabla CLIENTES (comprobación "_qs +
        (completa ? u"completa)\r\n"_qs : u"rápida)\r\n"_qs)))
        << ejecucion.Progreso().toStdString();
  }
}

TEST_F(ActualizacionTablas, AFailedBackupChangesNothingAndStillWritesTheKeys) {
  opciones.directorioCopiaSeguridad = copias + u"/NOHAY"_qs;
  mensajes.Expect(u"A"_qs);
  RealizarActualizacion(ejecucion, opciones);
  EXPECT_EQ(mensajes.Texts(), QStringList{u"El proceso de copia de seguridad ha producido errores. No es posible "
                                          "continuar con el proceso de actualización."_qs});
  EXPECT_TRUE(ejecucion.Errores().startsWith(u"Error realizando la Copia de Seguridad de la Base de Datos ZEMGENERAL: "_qs));
  EXPECT_TRUE(ejecucion.Errores().endsWith(u"El proceso de copia de seguridad ha producido errores. No es posible "
                                           "continuar con el proceso de actualización.\r\n"_qs));
  EXPECT_FALSE(ejecucion.Progreso().contains(u"Inicio del proceso"_qs));
  EXPECT_EQ(Columnas(u"ZEMEMP1"_qs, u"CLIENTES"_qs), u"Codigo\r\nNombre\r\nTlf\r\nAntiguo\r\nNumero"_qs);
  EXPECT_EQ(IniFile(ArchivoINI).ReadString(u"Backup MS SQL Server"_qs, u"UbicacionArchivosCopia"_qs, QString()),
            opciones.directorioCopiaSeguridad);
  EXPECT_EQ(QDir(copias).entryList(QDir::Files), QStringList());
}

// Paradox folders have no server: its statements are refused and logged,
// and nothing changes.
using ActualizacionParadox = ConexionesFixture;

TEST_F(ActualizacionParadox, TheServerStatementsAreRefusedAndLogged) {
  instalacion.Engine(u"Paradox"_qs);
  Iniciar();
  OpcionesActualizacion opciones;
  opciones.directorioCopiaSeguridad = carpeta.Path();
  opciones.eliminarCopiasAnteriores = false;
  opciones.basesDatos = {u"ZEMGENERAL"_qs};
  opciones.definiciones = QString::fromLatin1(ActualizacionFixture::kScripts);
  EjecucionActualizacion ejecucion;
  mensajes.Expect(u"A"_qs);
  RealizarActualizacion(ejecucion, opciones);
  EXPECT_TRUE(ejecucion.Errores().startsWith(u"Error realizando la Copia de Seguridad de la Base de Datos ZEMGENERAL: "
                                             "Error."_qs))
      << ejecucion.Errores().toStdString();
  EXPECT_TRUE(ejecucion.Progreso().endsWith(u"¡FIN DEL PROCESO CON ERRORES!\r\n"_qs));
  EXPECT_EQ(QDir(carpeta.Path()).entryList({u"dbb_*"_qs}), QStringList());
}
