#include "core/connections/AperturaTablas.h"
#include "core/connections/BaseDatosSQLServer.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/connections/CreacionTablas.h"
#include "core/connections/NombresBaseDatos.h"
#include "core/datamodule/Genemodu.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/RutinasBusqueda.h"
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

const QString kNombres = u"SELECT Nombre FROM CLIENTES"_qs;
const QString kEmpresa = u"Database"_qs;

// A company database holding one customer with its company's name.
void crearEmpresa(int empresa) {
  const QString nombre = u"ZEMEMP%1"_qs.arg(empresa);
  ASSERT_TRUE(CrearBaseDatosSQLServer(nombre));
  for (const QString& sql : {u"CREATE TABLE CLIENTES (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
                             "CONSTRAINT CLIENTES_Clave1 PRIMARY KEY (Codigo))"_qs,
                             u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'de la empresa %1')"_qs.arg(empresa)})
    ASSERT_EQ(EjecutarSQLADO(sql, u'?' + nombre), QString());
}

QString primerNombre(Table& tabla) {
  tabla.First();
  return tabla.FieldByName(u"Nombre"_qs).AsString();
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
  EXPECT_EQ(EjecutarSQL(u"SELECT DISTINCT loginame FROM master.dbo.sysprocesses"_qs, kEmpresa), u"ZEM"_qs);
  EXPECT_EQ(
      EjecutarSQL(u"SELECT cmptlevel, recovery_model_desc FROM master.dbo.sysdatabases WHERE name = 'ZEMGENERAL'"_qs,
                  kEmpresa),
      u"80|SIMPLE"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(ConexionEmpresa, SwitchingCompanyMovesTheTablesAndTheADOTwin) {
  for (const int empresa : {1, 2}) {
    ConectarEmpresa(Servicios(), empresa);
    Table tabla;
    tabla.SetDatabaseName(Empresa().DatabaseName());
    tabla.SetTableName(u"CLIENTES"_qs);
    tabla.Open();
    EXPECT_EQ(primerNombre(tabla), u"de la empresa %1"_qs.arg(empresa));
  }
  EXPECT_EQ(Empresa().Params().Values(u"DATABASE NAME"_qs), u"ZEMEMP2"_qs);
  // The ADO twin follows on the same connection.
  AdoConnection& ado = *Conexiones(Servicios()).ADOConnection;
  EXPECT_TRUE(ado.ConnectionString().contains(u"Initial Catalog=ZEMEMP2;"_qs));
  EXPECT_EQ(ado.SharedConnection().get(), Empresa().SharedConnection().get());
  // The company's database stays known by its name as a session alias.
  EXPECT_EQ(EjecutarSQL(kNombres, u"ZEMEMP1"_qs), u"de la empresa 1"_qs);
}

TEST_F(ConexionEmpresa, ASecondCompanyOpensBesideTheCurrentOneThroughTheMarker) {
  ConectarEmpresa(Servicios(), 1);
  EmpresaActual = 1;
  Table otra, actual;
  otra.SetTableName(u"CLIENTES"_qs);
  actual.SetTableName(u"CLIENTES"_qs);
  PrepararDataSetEmpresa(Servicios(), otra, 2);
  EXPECT_EQ(otra.DatabaseName(), u"?ZEMEMP2"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), actual));
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), otra));
  EXPECT_EQ(primerNombre(actual) + u'|' + primerNombre(otra), u"de la empresa 1|de la empresa 2"_qs);
  EXPECT_TRUE(Conexiones(Servicios()).ADOConnectionAlt->ConnectionString().contains(u"ZEMEMP2"_qs));

  // Asking again for the company it holds reconnects nothing.
  const auto conexion = Alternativa().SharedConnection();
  ConectarBaseDatosAlternativa(Servicios(), 2, QString());
  EXPECT_EQ(Alternativa().SharedConnection().get(), conexion.get());
  ConectarBaseDatosAlternativa(Servicios(), 1, QString());
  EXPECT_EQ(Alternativa().DatabaseName(), u"ZEMEMP1"_qs);
  // The alias left behind still reaches company 2 and no other.
  EXPECT_EQ(EjecutarSQL(kNombres, u"?ZEMEMP2"_qs), u"de la empresa 2"_qs);
}

TEST_F(ConexionEmpresa, ChoosingACompanyConnectsItAndAFailedSwitchKeepsThePreviousOne) {
  const auto elegir = [this](Variant clave) {
    RutinasBusqueda rutinas;
    rutinas.BuscarDato = [clave](const QString& tabla, int indice) {
      EXPECT_EQ(tabla + QString::number(indice), u"EMPRESA0"_qs);
      return clave;
    };
    InstalarRutinasBusqueda(rutinas);
    SeleccionarEmpresa(Servicios());
  };
  elegir(Variant::Array({Variant::Integer(2)}));
  EXPECT_EQ(EmpresaActual, 2);
  EXPECT_EQ(EjecutarSQL(kNombres, kEmpresa), u"de la empresa 2"_qs);
  elegir(Variant::Null());
  EXPECT_EQ(EmpresaActual, 0);
  EXPECT_EQ(Empresa().Params().Values(u"DATABASE NAME"_qs), u"ZEMEMP2"_qs);

  elegir(Variant::Array({Variant::Integer(1)}));
  EXPECT_THROW(elegir(Variant::Array({Variant::Integer(7)})), std::exception);
  EXPECT_THROW(ConectarEmpresa(Servicios(), 7), std::exception);
  EXPECT_EQ(EmpresaActual, 1);
  EXPECT_TRUE(Empresa().Connected() && Empresa().Params().Values(u"DATABASE NAME"_qs) == u"ZEMEMP1");
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_EQ(ejecutar(kNombres, kEmpresa, QString()), u"de la empresa 1"_qs);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}

TEST_F(ConexionEmpresa, AMissingTableIsCreatedOrItsIncidentCaptured) {
  Table tabla;
  tabla.setObjectName(u"TablaArticulos"_qs);
  tabla.SetTableName(u"ARTICULO"_qs);
  QStringList incidencias;
  InstalarObservadorTraza(
      [&](const QString& texto, const QString& lugar, const QVariant&) { incidencias << texto << lugar; });
  Servicios().setObjectName(u"fGENEPRUE"_qs);
  const QString lugar = u"Al crear la tabla entrando en fGENEPRUE (AperturaTablaOK)"_qs;
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), tabla));
  // A creation that raises counts as failed.
  InstalarCreacionTabla([](Table&, const QString&, int) -> bool { throw Exception(u"sin definicion"_qs); });
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), tabla));
  const QString error = incidencias.value(0).section(u'\r', 0, 0);
  EXPECT_TRUE(error.startsWith(u"Table does not exist"_qs)) << error.toStdString();
  const QString texto = error + u"\r\nTabla: ARTICULO(TablaArticulos) DataBase: ZEMEMP"_qs;
  EXPECT_EQ(incidencias, QStringList({texto, lugar, texto, lugar}));

  int creaciones = 0;
  InstalarCreacionTabla([&](Table& nueva, const QString& definicion, int empresa) {
    ++creaciones;
    EXPECT_TRUE(definicion.isEmpty());
    EXPECT_EQ(empresa, EmpresaActual);
    return EjecutarSQL(u"CREATE TABLE "_qs + nueva.TableName() + u" (Codigo VARCHAR(10))"_qs, nueva.DatabaseName())
        .isEmpty();
  });
  EXPECT_TRUE(AbrirTabla(Servicios(), Servicios(), tabla));
  EXPECT_EQ(creaciones, 1);
  EXPECT_TRUE(tabla.Active());
}

TEST_F(ConexionEmpresa, AnyOtherOpeningFailureIsCapturedHandedToTheRepairAndEndsTheProgram) {
  ConectarEmpresa(Servicios(), 1);
  QStringList vistos;
  InstalarObservadorTraza(
      [&](const QString& texto, const QString& lugar, const QVariant&) { vistos << texto << lugar; });
  InstalarRegistroFallosTablas({[&](Table& tabla, const QString& error) { vistos << tabla.TableName() << error; }});
  Servicios().setObjectName(u"fGENEPRUE"_qs);
  Table tabla;
  tabla.setObjectName(u"Table1"_qs);
  tabla.SetTableName(u"CLIENTES"_qs);
  tabla.SetIndexName(u"NOEXISTE"_qs);
  mensajes.Expect(u"E"_qs);
  EXPECT_FALSE(AbrirTabla(Servicios(), Servicios(), tabla));
  ASSERT_EQ(vistos.size(), 4) << vistos.join(u'\n').toStdString();
  const QString error = vistos[3];
  EXPECT_TRUE(error.startsWith(u"Index does not exist"_qs)) << error.toStdString();
  EXPECT_EQ(vistos, QStringList({error + u"\r\nTabla: CLIENTES(Table1) DataBase: ZEMEMP"_qs,
                                 u"Al entrar en fGENEPRUE (AperturaTablaOK)"_qs, u"CLIENTES"_qs, error}));
  // The engine's text is translated by the message routine, which ends the program.
  EXPECT_EQ(mensajes.Texts(), QStringList{TraducirMensajeMotor(u"TRADUCIR: "_qs + error + u" Tabla: CLIENTES"_qs)});
  EXPECT_TRUE(Application::Instance()->Terminated());
}

TEST_F(ConexionEmpresa, GeneralTablesOpenOnTheGeneralDatabase) {
  Ejecutar(u"CREATE TABLE EMPRESA (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40), CONSTRAINT EMPRESA_Clave1 PRIMARY KEY "
           "(Codigo))"_qs, u"DatabaseGeneral"_qs);
  Table empresa;
  empresa.SetTableName(u"EMPRESA"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), empresa));
  EXPECT_EQ(empresa.DatabaseName(), u"ZEMGENERAL"_qs);
  ConectarEmpresa(Servicios(), 2);
  EXPECT_EQ(NombreBaseDatosTabla(Servicios(), u"dbo.EMPRESA"_qs), u"ZEMGENERAL"_qs);
  EXPECT_EQ(NombreBaseDatosTabla(Servicios(), u"EMPRESA.DB"_qs), Empresa().DatabaseName());
  EXPECT_EQ(Empresa().DatabaseName(), u"ZEMEMP"_qs);
}
