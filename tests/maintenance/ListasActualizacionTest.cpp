#include "maintenance/actualizacion/ListasActualizacion.h"

#include "core/helpers/Fechas.h"
#include "tests/maintenance/ActualizacionFixture.h"

namespace {

constexpr auto kScripts =
    "ANTIGUA/C/1/Codigo/ftInteger/0/*/|31/12/2025\r\n"
    "ANTIGUA/C/2/Nombre/ftString/40//|15/03/2026\r\n"
    "JUSTA/C/1/Codigo/ftInteger/0/*/|01/01/2026\r\n"
    "ORIGEN/C/1/Codigo/ftInteger/0/*/|01/06/2026\r\n"
    "SINFECHA/C/1/Codigo/ftInteger/0/*/\r\n"
    "NUEVA/C/1/Codigo/ftInteger/0/*/|01/06/2026\r\n"
    "JUSTA/MAP/2024b/20200101/Viejo,Nuevo\r\n"
    "JUSTA/MAP/2023a/20260101/Tlf,Telefono\r\n"
    "NUEVA/MAP/2023b/20260102/Fax,Telefax\r\n";

}  // namespace

// A table is dated by its first dated line; a "MAP" line of this version
// is always taken, another's only when dated after the from-date.
TEST(ListasActualizacion, TheFromDateChoosesTheTablesAndTheMappingOfOtherVersions) {
  const struct {
    const char* desde;
    QStringList tablas;
    const char* mapeado;
  } casos[] = {
      {"", {u"ANTIGUA"_qs, u"JUSTA"_qs, u"NUEVA"_qs},
       "JUSTA=Viejo,Nuevo\r\n(*2023a)JUSTA=Tlf,Telefono\r\n(*2023b)NUEVA=Fax,Telefax\r\n"},
      {"01/01/2026", {u"JUSTA"_qs, u"NUEVA"_qs}, "JUSTA=Viejo,Nuevo\r\n(*2023b)NUEVA=Fax,Telefax\r\n"},
      {"02/06/2026", {}, "JUSTA=Viejo,Nuevo\r\n"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.desde);
    const TDateTime desde = TextoAFechaHora(QLatin1String(caso.desde));
    EXPECT_EQ(LlenarListaTablas(QLatin1String(kScripts), desde), caso.tablas);
    EXPECT_EQ(LlenarListaMapeado(QLatin1String(kScripts), desde), QLatin1String(caso.mapeado));
  }
}

// An entry counts for its table, after the version mark when it has one;
// the first naming the old column gives the new one.
TEST(ListasActualizacion, TheMappingGivesTheNewColumnOfAnOldOne) {
  const QString mapeado = u"(*2023a)CLIENTES=Tlf,Telefono\r\nCLIENTES=Tlf,Movil\r\nCLIENTESB=Fax,Telefax\r\n"
                          "CLIENTES=Sola\r\n"_qs;
  const struct {
    const char* tabla;
    const char* columna;
    std::optional<QString> nueva;
  } casos[] = {
      {"CLIENTES", "Tlf", u"Telefono"_qs}, {"CLIENTES", "Fax", std::nullopt}, {"CLIENTESB", "Fax", u"Telefax"_qs},
      {"CLIENTES", "Sola", QString()},     {"CLIENTE", "Tlf", std::nullopt},
  };
  for (const auto& caso : casos)
    EXPECT_EQ(ColumnaMapeada(mapeado, QLatin1String(caso.tabla), QLatin1String(caso.columna)), caso.nueva)
        << caso.tabla << " " << caso.columna;
  EXPECT_TRUE(MapeadoDeOtrasVersiones(mapeado, {u"OTRA"_qs, u"CLIENTES"_qs}));
  EXPECT_FALSE(MapeadoDeOtrasVersiones(u"CLIENTES=Tlf,Movil\r\n"_qs, {u"CLIENTES"_qs}));
}

using BasesDatosActualizacion = ActualizacionFixture;

// The prefix is a literal: a quote in it stays inside.
TEST_F(BasesDatosActualizacion, TheGeneralDatabaseComesFirstThenEachCompanyByCode) {
  EXPECT_EQ(LlenarListaBasesDatos(), (QStringList{u"ZEMGENERAL"_qs, u"ZEMEMP1"_qs, u"ZEMEMP2"_qs}));
  AliasBaseDatosEmpresa = u"ZEM\"O'"_qs;
  EXPECT_EQ(SentenciaBasesDatosEmpresas(),
            u"SELECT 'ZEM\"O''' + CONVERT(VARCHAR(4), Codigo) FROM EMPRESA ORDER BY Codigo"_qs);
  EXPECT_EQ(LlenarListaBasesDatos(), (QStringList{u"ZEMGENERAL"_qs, u"ZEM\"O'1"_qs, u"ZEM\"O'2"_qs}));
}
