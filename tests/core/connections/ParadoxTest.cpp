#include "core/connections/AperturaTablas.h"
#include "core/connections/ConexionEmpresa.h"
#include "core/connections/Conexiones.h"
#include "core/sql/ConsultasSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/data/AdoConnection.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QFileInfo>

namespace {

class ConexionParadox : public ConexionesFixture {
 protected:
  ConexionParadox() {
    instalacion.Engine(u"Paradox"_qs);
    Iniciar();
  }

  QString Carpeta(int empresa) const { return instalacion.GeneralFolder() + u'/' + QString::number(empresa); }
};

}  // namespace

TEST_F(ConexionParadox, StartUpOpensTheDataFoldersAndSwitchingCompanyMakesAndUsesTheCompanyFolder) {
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_TRUE(Conexiones(Servicios()).Database->Connected() && !Conexiones(Servicios()).ADOConnection->Connected());
  EXPECT_EQ(PathBaseDatos + VersionServidorSQL, instalacion.GeneralFolder());
  EXPECT_FALSE(QFileInfo::exists(instalacion.ServerFolder()));
  EXPECT_TRUE(QFileInfo::exists(instalacion.GeneralFolder() + u"/DATOS.SQLITE"_qs));

  ConectarEmpresa(Servicios(), 3);
  EXPECT_TRUE(QFileInfo::exists(Carpeta(3) + u"/DATOS.SQLITE"_qs));
  Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"_qs);
  Ejecutar(u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'de la tres')"_qs);
  Table clientes;
  clientes.SetTableName(u"CLIENTES"_qs);
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), clientes));
  EXPECT_EQ(clientes.FieldByName(u"Nombre"_qs).AsString(), u"de la tres"_qs);

  // Another company's folder through the marker, made on first use.
  EmpresaActual = 3;
  Table otra;
  otra.SetTableName(u"CLIENTES"_qs);
  PrepararDataSetEmpresa(Servicios(), otra, 4);
  EXPECT_EQ(otra.DatabaseName(), u'?' + Carpeta(4));
  EXPECT_TRUE(QFileInfo::exists(Carpeta(4)));
  // Company 4's folder lacks the table, which has no definition to be made from.
  mensajes.Expect(u"A"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM CLIENTES"_qs, otra.DatabaseName(), u"Silenciosa"_qs).left(6),
            u"Error."_qs);
  EXPECT_EQ(mensajes.Texts().last(), u"No se ha encontrado la definición de la tabla. Tabla: CLIENTES"_qs);
  // A company-0 dataset is the current company's.
  Table actual;
  PrepararDataSetEmpresa(Servicios(), actual, 0);
  EXPECT_EQ(actual.DatabaseName(), u'?' + Carpeta(3));
}

TEST_F(ConexionParadox, TheGeneralDatabaseIsReachedByItsNameFromACompany) {
  for (const char* sql : {"CREATE TABLE EMPRESA (Codigo INTEGER, Nombre VARCHAR(40))",
                          "INSERT INTO EMPRESA (Codigo, Nombre) VALUES (3, 'TERCERA')"})
    Ejecutar(QLatin1String(sql), u"DatabaseGeneral"_qs);
  ConectarEmpresa(Servicios(), 3);
  Ejecutar(u"CREATE TABLE PARAGENE (Empresa INTEGER)"_qs);
  Ejecutar(u"INSERT INTO PARAGENE (Empresa) VALUES (3)"_qs);
  EXPECT_EQ(EjecutarSQL(u"SELECT E.Nombre FROM PARAGENE P JOIN ZEMGENERAL.dbo.EMPRESA E ON E.Codigo = P.Empresa"_qs,
                        u"Database"_qs),
            u"TERCERA"_qs);
}

TEST_F(ConexionParadox, TheADORoadRunsOnTheCompanyFolderAsTheEngineDoes) {
  ConectarEmpresa(Servicios(), 3);
  EXPECT_EQ(EjecutarSQLADO(u"CREATE TABLE PERDIDA (Codigo INTEGER)"_qs, u"Database"_qs), QString());
  EXPECT_EQ(EjecutarSQLADO(u"INSERT INTO PERDIDA (Codigo) VALUES (1)"_qs, QString()), QString());
  EXPECT_EQ(EjecutarSQL(u"SELECT Codigo FROM PERDIDA"_qs, u"Database"_qs), u"1"_qs);
  Query consulta;
  consulta.SQL().SetText(u"SELECT Codigo FROM PERDIDA"_qs);
  ASSERT_TRUE(AbrirOEjecutarConsultaADO(consulta));
  EXPECT_EQ(consulta.Fields(0).AsString(), u"1"_qs);
  consulta.Close();

  // The alternative company's twin is its own folder.
  Table otra;
  PrepararDataSetEmpresa(Servicios(), otra, 4);
  // Not connected yet: refused, not run on the current folder.
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_TRUE(ejecutar(u"CREATE TABLE SIN_CONEXION (Codigo INTEGER)"_qs, u"DatabaseAlt"_qs, u"Silenciosa"_qs)
                    .startsWith(u"Error. No es posible ejecutar la sentencia SQL. Motivo: "_qs));
  ConectarBaseDatosAlternativa(Servicios(), 4, QString());
  EXPECT_EQ(EjecutarSQLADO(u"CREATE TABLE DE_LA_CUATRO (Codigo INTEGER)"_qs, u"DatabaseAlt"_qs), QString());
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM DE_LA_CUATRO"_qs, otra.DatabaseName()), u"0"_qs);
  EXPECT_FALSE(QFileInfo::exists(carpeta.Path() + u"/DATOS.SQLITE"_qs));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}
