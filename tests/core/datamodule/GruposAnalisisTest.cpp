#include "core/datamodule/GruposAnalisis.h"

#include "core/sql/BaseDatosSQL.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

namespace {

// Customers 1 and O'B in groups of the categories ZONA, TIPO and Z'ONA, and a
// supplier that shares customer 1's key.
class GruposAnalisis : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  void Preparar(const QString& motor) {
    instalacion.Engine(motor);
    Iniciar();
    ModuloDatos = &modulo;
    for (const char* grupo : {"('B', 'TIPO')", "('A', 'ZONA')", "('N', 'ZONA')", "('Q''1', 'Z''ONA')"})
      Ejecutar(u"INSERT INTO GRANALIS (Codigo, CategoriaGrupo) VALUES "_qs + QLatin1String(grupo));
    for (const char* fila : {"('CLIENTES', '1;', 'N')", "('CLIENTES', '1;', 'B')", "('CLIENTES', '1;', 'A')",
                             "('CLIENTES', '2;', 'A')", "('CLIENTES', 'O''B;', 'Q''1')",
                             "('PROVEEDOR', '1;', 'B')"})
      Ejecutar(u"INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES "_qs + QLatin1String(fila));
  }

  void GruposDelRegistro() {
    const struct {
      const char* tabla;
      const char* categoria;
      const char* clave;
      const char* grupos;
    } casos[] = {
        {"CLIENTES", "Todas", "1;", "A,B,N"},
        {"CLIENTES", "ZONA", "1;", "A"},        {"CLIENTES", "TIPO", "1;", "B"},
        {"CLIENTES", "OTRA", "1;", ""},         {"CLIENTES", "Todas", "9;", ""},
        {"CLIENTES", "Z'ONA", "O'B;", "Q'1"},   {"PROVEEDOR", "Todas", "1;", "B"},
    };
    for (const auto& caso : casos)
      EXPECT_EQ(GruposAnalisisRegistro(QLatin1String(caso.tabla), QString::fromUtf8(caso.categoria),
                                       QString::fromUtf8(caso.clave)),
                QString::fromUtf8(caso.grupos))
          << caso.tabla << " " << caso.categoria << " " << caso.clave;
  }
};

}  // namespace

TEST_F(GruposAnalisis, ARecordsGroupsOnTheServerInCodeOrder) {
  Preparar(u"Microsoft SQL Server"_qs);
  GruposDelRegistro();
  EXPECT_EQ(GruposAnalisisRegistro(u"dbo.CLIENTES"_qs, u"Todas"_qs, u"1;"_qs), u"A,B,N"_qs);
}

TEST_F(GruposAnalisis, ARecordsGroupsOnParadoxThroughTheModulesTables) {
  Preparar(u"Paradox"_qs);
  GruposDelRegistro();
  EXPECT_EQ(modulo.GATablas->TableName(), u"GRANTAB"_qs);
  EXPECT_EQ(modulo.GAnalisis->TableName(), u"GRANALIS"_qs);
}

TEST_F(GruposAnalisis, AMissingGroupTableIsCreatedAndAFailedStatementGivesNoGroups) {
  Preparar(u"Microsoft SQL Server"_qs);
  Ejecutar(u"DROP TABLE GRANALIS"_qs);
  EXPECT_EQ(GruposAnalisisRegistro(u"CLIENTES"_qs, u"Todas"_qs, u"1;"_qs), QString());
  EXPECT_EQ(EjecutarSQL(u"SELECT COUNT(*) FROM GRANALIS"_qs, u"Database"_qs), u"0"_qs);

  Ejecutar(u"DROP TABLE GRANALIS"_qs);
  Ejecutar(u"CREATE TABLE GRANALIS (Otro INT NULL)"_qs);
  mensajes.Expect(u"A"_qs).Expect(QString());
  EXPECT_EQ(GruposAnalisisRegistro(u"CLIENTES"_qs, u"ZONA"_qs, u"1;"_qs), QString()) << "the SQL layer told the user";
}

TEST_F(GruposAnalisis, TheCategoriesOfProfilesAreSortedWithWholeRepeatedListsOnce) {
  Preparar(u"Microsoft SQL Server"_qs);
  EXPECT_EQ(CategoriasPerfilesGA(u"P1"_qs), QString()) << "closed general parameters";
  AbrirParametros(u"P1=ZONA,TIPO\r\nP2=TIPO,ZONA\r\nP3=ZONA,TIPO\r\nP4="_qs);
  EXPECT_EQ(CategoriasPerfilesGA(u"P1,P3,P4,PX"_qs), u"ZONA\r\nTIPO\r\n"_qs);
  EXPECT_EQ(CategoriasPerfilesGA(u"P1,P2"_qs), u"TIPO\r\nZONA\r\nZONA\r\nTIPO\r\n"_qs);
  EXPECT_EQ(CategoriasPerfilesGA(u"P4"_qs), QString());
}
