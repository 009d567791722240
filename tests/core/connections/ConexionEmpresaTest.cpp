#include "core/connections/AperturaTablas.h"
#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/datamodule/Genemodu.h"
#include "core/messages/MensajeSistema.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/sql/ServerCommands.h"
#include "platform/sqlite/Connection.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QFileInfo>

namespace {

const QString kNombres = QStringLiteral("SELECT Nombre FROM CLIENTES");
const QString kEmpresa = QStringLiteral("Database");

// A company database holding one customer with its company's name.
void crearEmpresa(int empresa) {
  const QString nombre = QStringLiteral("ZEMEMP%1").arg(empresa);
  ASSERT_TRUE(CrearBaseDatosSQLServer(nombre));
  const QString alias = QStringLiteral("?") + nombre;
  ASSERT_EQ(EjecutarSQLADO(QStringLiteral("CREATE TABLE CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) "
                                          "DEFAULT '' NULL, CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"),
                           alias),
            QString());
  ASSERT_EQ(EjecutarSQLADO(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'de la empresa %1')")
                               .arg(empresa),
                           alias),
            QString());
}

QString primerNombre(Table& tabla) {
  tabla.First();
  return tabla.FieldByName(QStringLiteral("Nombre")).AsString();
}

class ConexionEmpresa : public ConexionesFixture {
 protected:
  ConexionEmpresa() {
    Iniciar();
    crearEmpresa(1);
    crearEmpresa(2);
  }

  Database& Empresa() { return *Conexiones(Servicios()).Database; }
  Database& Alternativa() { return *Conexiones(Servicios()).DatabaseAlt; }
};

}  // namespace

TEST_F(ConexionEmpresa, StartUpOpenedTheCompanyAndGeneralDatabasesWithTheLogin) {
  const QString servidor = instalacion.ServerFolder();
  for (const char* archivo : {"master.sqlite", "ZEMGENERAL.sqlite", "ZEMEMP.sqlite"})
    EXPECT_TRUE(QFileInfo::exists(servidor + u'/' + QLatin1String(archivo))) << archivo;
  EXPECT_EQ(QStringList({ServidorSQL, UsuarioInicioSesion, VersionServidorSQL, Empresa().DatabaseName()}),
            QStringList({servidor, "ZEM", ServerCommands::VersionText(), "ZEMEMP"}));
  EXPECT_TRUE(Empresa().Connected() && Conexiones(Servicios()).DatabaseGeneral->Connected());
  // The server lists this program's sessions under its login.
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT DISTINCT loginame FROM master.dbo.sysprocesses"), kEmpresa),
            QStringLiteral("ZEM"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT cmptlevel, recovery_model_desc FROM master.dbo.sysdatabases WHERE name = "
                                       "'ZEMGENERAL'"),
                        kEmpresa),
            QStringLiteral("80|SIMPLE"));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(ConexionEmpresa, SwitchingCompanyMovesTheTablesAndTheADOTwin) {
  for (const int empresa : {1, 2}) {
    ConectarEmpresa(Servicios(), empresa);
    Table tabla;
    tabla.SetDatabaseName(Empresa().DatabaseName());
    tabla.SetTableName(QStringLiteral("CLIENTES"));
    tabla.Open();
    EXPECT_EQ(primerNombre(tabla), QStringLiteral("de la empresa %1").arg(empresa));
  }
  EXPECT_EQ(Empresa().Params().Values(QStringLiteral("DATABASE NAME")), QStringLiteral("ZEMEMP2"));
  // The ADO twin is the same connection: one transaction covers both.
  AdoConnection& ado = *Conexiones(Servicios()).ADOConnection;
  EXPECT_TRUE(ado.ConnectionString().contains(QStringLiteral("Initial Catalog=ZEMEMP2;")));
  EXPECT_EQ(ado.SharedConnection().get(), Empresa().SharedConnection().get());
  Empresa().StartTransaction();
  ado.BeginTrans();
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("UPDATE CLIENTES SET Nombre = 'cambiado' WHERE Codigo = 1"), kEmpresa),
            QString());
  Empresa().Rollback();
  ado.CommitTrans();
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QStringLiteral("de la empresa 2"));
  // The company's database stays known by its name as a session alias.
  EXPECT_EQ(EjecutarSQL(kNombres, QStringLiteral("ZEMEMP1")), QStringLiteral("de la empresa 1"));
}

TEST_F(ConexionEmpresa, ASecondCompanyOpensBesideTheCurrentOneThroughTheMarker) {
  ConectarEmpresa(Servicios(), 1);
  EmpresaActual = 1;
  Table otra;
  otra.SetTableName(QStringLiteral("CLIENTES"));
  PrepararDataSetEmpresa(Servicios(), otra, 2);
  EXPECT_EQ(otra.DatabaseName(), QStringLiteral("?ZEMEMP2"));
  Table actual;
  actual.SetTableName(QStringLiteral("CLIENTES"));
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), actual));
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), otra));
  EXPECT_EQ(primerNombre(actual) + u'|' + primerNombre(otra), QStringLiteral("de la empresa 1|de la empresa 2"));
  EXPECT_TRUE(Conexiones(Servicios()).ADOConnectionAlt->ConnectionString().contains(QStringLiteral("ZEMEMP2")));

  // Asking again for the company it holds reconnects nothing.
  const auto conexion = Alternativa().SharedConnection();
  ConectarBaseDatosAlternativa(Servicios(), 2, QString());
  EXPECT_EQ(Alternativa().SharedConnection().get(), conexion.get());
  ConectarBaseDatosAlternativa(Servicios(), 1, QString());
  EXPECT_EQ(Alternativa().DatabaseName(), QStringLiteral("ZEMEMP1"));
  // The alias left behind still reaches company 2 and no other.
  EXPECT_EQ(EjecutarSQL(kNombres, QStringLiteral("?ZEMEMP2")), QStringLiteral("de la empresa 2"));
}

TEST_F(ConexionEmpresa, ChoosingACompanyConnectsItAndAFailedSwitchKeepsThePreviousOne) {
  const auto elegir = [this](Variant clave) {
    InstalarBusquedaDato([clave](const QString& tabla, int indice) {
      EXPECT_EQ(tabla + QString::number(indice), QStringLiteral("EMPRESA0"));
      return clave;
    });
    SeleccionarEmpresa(Servicios());
  };
  elegir(Variant::Array({Variant::Integer(2)}));
  EXPECT_EQ(EmpresaActual, 2);
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), QStringLiteral("de la empresa 2"));
  elegir(Variant::Null());
  EXPECT_EQ(EmpresaActual, 0);
  EXPECT_EQ(Empresa().Params().Values(QStringLiteral("DATABASE NAME")), QStringLiteral("ZEMEMP2"));

  elegir(Variant::Array({Variant::Integer(1)}));
  EXPECT_THROW(elegir(Variant::Array({Variant::Integer(7)})), std::exception);
  EXPECT_THROW(ConectarEmpresa(Servicios(), 7), std::exception);
  EXPECT_EQ(EmpresaActual, 1);
  EXPECT_TRUE(Empresa().Connected() && Empresa().Params().Values(QStringLiteral("DATABASE NAME")) == u"ZEMEMP1");
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_EQ(ejecutar(kNombres, kEmpresa, QString()), QStringLiteral("de la empresa 1"));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(ConexionEmpresa, AMissingTableIsCreatedOrItsIncidentCaptured) {
  Table tabla;
  tabla.setObjectName(QStringLiteral("TablaArticulos"));
  tabla.SetTableName(QStringLiteral("ARTICULO"));
  QStringList incidencias;
  InstalarObservadorTraza([&](const QString& texto, const QString& lugar, const QVariant&) {
    incidencias << texto << lugar;
  });
  Servicios().setObjectName(QStringLiteral("fGENEPRUE"));
  const QString lugar = QStringLiteral("Al crear la tabla entrando en fGENEPRUE (AperturaTablaOK)");
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), tabla));
  // A creation that raises counts as failed.
  InstalarCreacionTabla([](Table&, const QString&, int) -> bool { throw Exception(QStringLiteral("sin definicion")); });
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), tabla));
  const QString error = incidencias.value(0).section(u'\r', 0, 0);
  EXPECT_TRUE(error.startsWith(QStringLiteral("Table does not exist"))) << error.toStdString();
  const QString texto = error + QStringLiteral("\r\nTabla: ARTICULO(TablaArticulos) DataBase: ZEMEMP");
  EXPECT_EQ(incidencias, QStringList({texto, lugar, texto, lugar}));

  int creaciones = 0;
  InstalarCreacionTabla([&](Table& nueva, const QString& definicion, int empresa) {
    ++creaciones;
    EXPECT_TRUE(definicion.isEmpty());
    EXPECT_EQ(empresa, EmpresaActual);
    return EjecutarSQL(QStringLiteral("CREATE TABLE ") + nueva.TableName() + QStringLiteral(" (Codigo VARCHAR(10))"),
                       nueva.DatabaseName())
        .isEmpty();
  });
  EXPECT_TRUE(AbrirTabla(Servicios(), Servicios(), tabla));
  EXPECT_EQ(creaciones, 1);
  EXPECT_TRUE(tabla.Active());
}

TEST_F(ConexionEmpresa, AnyOtherOpeningFailureIsCapturedHandedToTheRepairAndEndsTheProgram) {
  ConectarEmpresa(Servicios(), 1);
  QStringList vistos;
  InstalarObservadorTraza([&](const QString& texto, const QString& lugar, const QVariant&) {
    vistos << texto << lugar;
  });
  InstalarRegistroFallosTablas({[&](Table& tabla, const QString& error) { vistos << tabla.TableName() << error; }});
  Servicios().setObjectName(QStringLiteral("fGENEPRUE"));
  Table tabla;
  tabla.setObjectName(QStringLiteral("Table1"));
  tabla.SetTableName(QStringLiteral("CLIENTES"));
  tabla.SetIndexName(QStringLiteral("NOEXISTE"));
  mensajes.Expect(QStringLiteral("E"));
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), tabla));
  ASSERT_EQ(vistos.size(), 4) << vistos.join(u'\n').toStdString();
  const QString error = vistos[3];
  EXPECT_TRUE(error.startsWith(QStringLiteral("Index does not exist"))) << error.toStdString();
  EXPECT_EQ(vistos, QStringList({error + QStringLiteral("\r\nTabla: CLIENTES(Table1) DataBase: ZEMEMP"),
                                 QStringLiteral("Al entrar en fGENEPRUE (AperturaTablaOK)"), QStringLiteral("CLIENTES"),
                                 error}));
  // The engine's text is translated by the message routine, which ends the program.
  EXPECT_EQ(mensajes.Texts(), QStringList{TraducirMensajeMotor(QStringLiteral("TRADUCIR: ") + error +
                                                               QStringLiteral(" Tabla: CLIENTES"))});
  EXPECT_TRUE(Application::Instance()->Terminated());
}

TEST_F(ConexionEmpresa, GeneralTablesOpenOnTheGeneralDatabase) {
  Ejecutar(QStringLiteral("CREATE TABLE EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40), CONSTRAINT "
                          "EMPRESA_Clave1 PRIMARY KEY (Codigo))"),
           QStringLiteral("DatabaseGeneral"));
  Table empresa;
  empresa.SetTableName(QStringLiteral("EMPRESA"));
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), empresa));
  EXPECT_EQ(empresa.DatabaseName(), QStringLiteral("ZEMGENERAL"));
  ConectarEmpresa(Servicios(), 2);
  EXPECT_EQ(NombreBaseDatosTabla(Servicios(), QStringLiteral("dbo.EMPRESA")), QStringLiteral("ZEMGENERAL"));
  EXPECT_EQ(NombreBaseDatosTabla(Servicios(), QStringLiteral("EMPRESA.DB")), Empresa().DatabaseName());
  EXPECT_EQ(Empresa().DatabaseName(), QStringLiteral("ZEMEMP"));
  // Written by key: the mapper keeps keyed tables without row ids.
  for (const char* nombre : {"EMPRESA 1", "PRIMERA"}) {
    *nombre == 'E' ? empresa.Append() : empresa.Edit();
    empresa.FieldByName(QStringLiteral("Codigo")).SetAsInteger(1);
    empresa.FieldByName(QStringLiteral("Nombre")).SetAsString(QLatin1String(nombre));
    empresa.Post();
  }
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo, Nombre FROM EMPRESA"), QStringLiteral("DatabaseGeneral")),
            QStringLiteral("1|PRIMERA"));
}
