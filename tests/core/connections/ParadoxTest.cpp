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
    instalacion.Engine(QStringLiteral("Paradox"));
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
  EXPECT_TRUE(QFileInfo::exists(instalacion.GeneralFolder() + QStringLiteral("/DATOS.SQLITE")));

  ConectarEmpresa(Servicios(), 3);
  EXPECT_TRUE(QFileInfo::exists(Carpeta(3) + QStringLiteral("/DATOS.SQLITE")));
  Ejecutar(QStringLiteral("CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"));
  Ejecutar(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (1, 'de la tres')"));
  Table clientes;
  clientes.SetTableName(QStringLiteral("CLIENTES"));
  ASSERT_TRUE(AbrirTabla(Servicios(), Servicios(), clientes));
  EXPECT_EQ(clientes.FieldByName(QStringLiteral("Nombre")).AsString(), QStringLiteral("de la tres"));

  // Another company's folder through the marker, made on first use.
  EmpresaActual = 3;
  Table otra;
  otra.SetTableName(QStringLiteral("CLIENTES"));
  PrepararDataSetEmpresa(Servicios(), otra, 4);
  EXPECT_EQ(otra.DatabaseName(), u'?' + Carpeta(4));
  EXPECT_TRUE(QFileInfo::exists(Carpeta(4)));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM CLIENTES"), otra.DatabaseName(), QStringLiteral("Silenciosa"))
                .left(6),
            QStringLiteral("Error."));
  // A company-0 dataset is the current company's.
  Table actual;
  PrepararDataSetEmpresa(Servicios(), actual, 0);
  EXPECT_EQ(actual.DatabaseName(), u'?' + Carpeta(3));
}

TEST_F(ConexionParadox, TheGeneralDatabaseIsReachedByItsNameFromACompany) {
  for (const char* sql : {"CREATE TABLE EMPRESA (Codigo INTEGER, Nombre VARCHAR(40))",
                          "INSERT INTO EMPRESA (Codigo, Nombre) VALUES (3, 'TERCERA')"})
    Ejecutar(QLatin1String(sql), QStringLiteral("DatabaseGeneral"));
  ConectarEmpresa(Servicios(), 3);
  Ejecutar(QStringLiteral("CREATE TABLE PARAGENE (Empresa INTEGER)"));
  Ejecutar(QStringLiteral("INSERT INTO PARAGENE (Empresa) VALUES (3)"));
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT E.Nombre FROM PARAGENE P JOIN ZEMGENERAL.dbo.EMPRESA E "
                                       "ON E.Codigo = P.Empresa"),
                        QStringLiteral("Database")),
            QStringLiteral("TERCERA"));
}

TEST_F(ConexionParadox, TheADORoadRunsOnTheCompanyFolderAsTheEngineDoes) {
  ConectarEmpresa(Servicios(), 3);
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("CREATE TABLE PERDIDA (Codigo INTEGER)"), QStringLiteral("Database")),
            QString());
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("INSERT INTO PERDIDA (Codigo) VALUES (1)"), QString()), QString());
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT Codigo FROM PERDIDA"), QStringLiteral("Database")), QStringLiteral("1"));
  Query consulta;
  consulta.SQL().SetText(QStringLiteral("SELECT Codigo FROM PERDIDA"));
  ASSERT_TRUE(AbrirOEjecutarConsultaADO(consulta));
  EXPECT_EQ(consulta.Fields(0).AsString(), QStringLiteral("1"));
  consulta.Close();

  // The alternative company's twin is its own folder.
  Table otra;
  PrepararDataSetEmpresa(Servicios(), otra, 4);
  // Not connected yet: refused, not run on the current folder.
  for (const auto& ejecutar : {&EjecutarSQL, &EjecutarSQLADO})
    EXPECT_TRUE(ejecutar(QStringLiteral("CREATE TABLE SIN_CONEXION (Codigo INTEGER)"), QStringLiteral("DatabaseAlt"),
                         QStringLiteral("Silenciosa"))
                    .startsWith(QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ")));
  ConectarBaseDatosAlternativa(Servicios(), 4, QString());
  EXPECT_EQ(EjecutarSQLADO(QStringLiteral("CREATE TABLE DE_LA_CUATRO (Codigo INTEGER)"), QStringLiteral("DatabaseAlt")),
            QString());
  EXPECT_EQ(EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM DE_LA_CUATRO"), otra.DatabaseName()), QStringLiteral("0"));
  EXPECT_FALSE(QFileInfo::exists(carpeta.Path() + QStringLiteral("/DATOS.SQLITE")));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}
