#include "core/connections/ConexionEmpresa.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/startup/Configuracion.h"
#include "maintenance/actualizacion/ProcesoActualizacion.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "platform/sql/ClientApplication.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/maintenance/ActualizacionFixture.h"

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";

// Another copy of the program, its user known, inserting, editing and
// deleting a customer of company 1.
void escribirClientes() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  ConectarEmpresa(servicios, 1);
  ClientApplication::SetProgramName(u"ZEMWIN.EXE|PEPE"_qs);  // as the login leaves it
  for (const char* sql : {"INSERT INTO CLIENTES (Codigo, Nombre, Telefono) VALUES (20, 'Eva', '933')",
                          "UPDATE CLIENTES SET Nombre = 'Eva María' WHERE Codigo = 20",
                          "DELETE FROM CLIENTES WHERE Codigo = 20"})
    SecondProcess::Report(EjecutarSQL(QString::fromUtf8(sql), u"Database"_qs, u"Silenciosa"_qs));
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"escribir-clientes"_qs, escribirClientes);

constexpr auto kRegistroAccesos =
    "REGACCES/C/1/NombreTabla/ftString/30//|01/06/2026\r\n"
    "REGACCES/C/2/ClaveTabla/ftString/136//\r\n"
    "REGACCES/C/3/CodigoUsuario/ftString/12//\r\n"
    "REGACCES/C/4/Fecha/ftDateTime/0//\r\n"
    "REGACCES/C/5/Datos/ftMemo/0//\r\n"
    "REGACCES/C/6/Accion/ftString/20//\r\n"
    "REGACCES/C/7/Aplicacion/ftString/30//\r\n";

class ObjetosTriggers : public ActualizacionFixture {
 protected:
  void SetUp() override {
    ActualizacionFixture::SetUp();
    opciones.realizarCopiaSeguridad = false;
    opciones.definiciones += u"\r\n"_qs + QLatin1String(kRegistroAccesos);
    TextFile::Write(carpeta.File(u"DATOS/DATABASE.CMM"_qs),
                    u"CREATE NONCLUSTERED INDEX ixMirdal_CLIENTES_Tel ON CLIENTES (Telefono)\r\n"
                    "CREATE PROCEDURE spMirdal_Uno AS SELECT 1\r\n"_qs);
    IniFile(ArchivoINI).WriteString(u"Configuración"_qs, u"RegistrarAccesoATablas"_qs, u"CLIENTES,EMPRESA"_qs);
    RegistroAccesosActivado = true;
  }
};

}  // namespace

// The general database is selected too: it gets neither the objects nor the
// triggers, which would fail there without the customers table.
TEST_F(ObjetosTriggers, CompanyDatabasesGetTheObjectsAndTheTriggersThatWriteTheAccessHistory) {
  for (int vez = 1; vez <= 2; ++vez) {
    SCOPED_TRACE(vez);
    RealizarActualizacion(ejecucion, opciones);
    // The embedded server runs the scripts' indexes and refuses their procedures.
    QStringList errores = ejecucion.Errores().split(u"\r\n"_qs);
    EXPECT_EQ(errores.filter(u"Error: "_qs).size(), 2) << ejecucion.Errores().toStdString();
    EXPECT_EQ(errores.filter(u"en la siguiente sentencia SQL: CREATE PROCEDURE spMirdal_Uno AS SELECT 1"_qs).size(), 2);
    for (const QString& base : Empresas())
      EXPECT_EQ(Filas(u"SELECT name FROM %1.dbo.sysindexes WHERE name LIKE 'ixMirdal%'"_qs.arg(base)),
                u"ixMirdal_CLIENTES_Tel"_qs);
    EXPECT_EQ(Filas(u"SELECT name FROM ZEMEMP2.dbo.sysobjects WHERE xtype = 'TR' ORDER BY name"_qs),
              u"TriggerDeleteCLIENTES\r\nTriggerInsertCLIENTES\r\nTriggerUpdateCLIENTES"_qs);
    EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM ZEMGENERAL.dbo.sysobjects WHERE xtype = 'TR'"_qs), u"0"_qs);
  }
  EXPECT_TRUE(ejecucion.Progreso().contains(u"...Eliminando Funciones de Usuario y Procedimientos Almacenados\r\n"
                                            "...Creando Funciones de Usuario y Procedimientos Almacenados\r\n"_qs));

  SecondProcess otra(u"escribir-clientes"_qs, {{kCarpeta, carpeta.Path()}});
  for (int sentencia = 0; sentencia < 3; ++sentencia) EXPECT_EQ(otra.ReadReport(), QString());
  EXPECT_EQ(otra.Finish(), 0);
  EXPECT_EQ(Filas(u"SELECT NombreTabla, ClaveTabla, CodigoUsuario, Datos, Accion, Aplicacion FROM ZEMEMP1.dbo.REGACCES"_qs),
            u"CLIENTES|20|PEPE|Codigo=20|Nombre=Eva|Telefono=933|Nuevo=|Numero=3||Insertar|ZEMWIN.EXE\r\n"
            "CLIENTES|20|PEPE|Nombre=Eva María [Eva]||Editar|ZEMWIN.EXE\r\n"
            "CLIENTES|20|PEPE|Codigo=20|Nombre=Eva María|Telefono=933|Nuevo=|Numero=3||Eliminar|ZEMWIN.EXE"_qs);
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM ZEMEMP1.dbo.REGACCES WHERE Fecha IS NULL"_qs), u"0"_qs);
}

// Names read from the catalogue and from the settings reach their drops
// and triggers as the names they are: VX, which they name, keeps its rows.
// A name that cannot be one is reported and nothing runs for it.
TEST_F(ObjetosTriggers, HostileObjectAndTableNamesDropOnlyThemselvesAndTheUnusableOnesAreReported) {
  const QString hostil = u"ixMirdal_h]]x] ON [dbo].[VX]; DELETE FROM VX; --"_qs;
  const QString largo = u"ixMirdal_"_qs + QString(130, u'n');
  const QString ajeno = u"Mio_ixMirdal_VX"_qs;
  const QString tablaLarga = QString(120, u'T');
  for (const QString& base : Empresas()) {
    Ejecutar(u"USE %1 CREATE TABLE dbo.VX (A INTEGER)"_qs.arg(base), u"DatabaseGeneral"_qs);
    Ejecutar(u"INSERT INTO %1.dbo.VX VALUES (1), (2), (3)"_qs.arg(base), u"DatabaseGeneral"_qs);
    for (const QString& indice : {hostil, largo, ajeno})
      Ejecutar(u"USE %1 CREATE INDEX %2 ON dbo.VX (A)"_qs.arg(base, NombreSQL(indice)), u"DatabaseGeneral"_qs);
  }
  Ejecutar(u"USE ZEMGENERAL"_qs, u"DatabaseGeneral"_qs);
  IniFile(ArchivoINI).WriteString(u"Configuración"_qs, u"RegistrarAccesoATablas"_qs,
                                  u"CLIENTES,CLIENTES;DELETE FROM VX,"_qs + tablaLarga);
  RealizarActualizacion(ejecucion, opciones);

  const QString errores = ejecucion.Errores();
  for (const QString& base : Empresas()) {
    SCOPED_TRACE(base.toStdString());
    EXPECT_EQ(Filas(u"SELECT SUM(A) FROM %1.dbo.VX HAVING COUNT(*) = 3"_qs.arg(base)), u"6"_qs);
    // The suite's index of the hostile name is dropped; the long one is refused, the other is not the suite's.
    for (const auto& [indice, quedan] : {std::pair{hostil, u"0"_qs}, {largo, u"1"_qs}, {ajeno, u"1"_qs}})
      EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM %1.dbo.sysindexes WHERE name = %2"_qs.arg(base, LiteralSQL(indice))), quedan);
    EXPECT_EQ(Filas(u"SELECT name FROM %1.dbo.sysobjects WHERE xtype = 'TR' ORDER BY name"_qs.arg(base)),
              u"TriggerDeleteCLIENTES\r\nTriggerInsertCLIENTES\r\nTriggerUpdateCLIENTES"_qs);
  }
  EXPECT_EQ(errores.count(MensajeNombreNoValido(largo)), 2) << errores.toStdString();
  EXPECT_EQ(errores.count(MensajeNombreNoValido(tablaLarga)), 2);
  EXPECT_EQ(errores.count(u"No ha sido posible crear el trigger TriggerDeleteCLIENTES;DELETE FROM VX en "_qs), 2);
}
