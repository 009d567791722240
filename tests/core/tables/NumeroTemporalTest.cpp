#include "core/sql/EjecucionSQL.h"
#include "core/tables/CreacionTabla.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

// The number after "Tabla Temporal " tells apart the temporary tables of one
// owner; without one the number is 0.
TEST_F(ConexionesFixture, TheNumberAfterTablaTemporalNamesItsOwnTable) {
  Iniciar();
  const QString campos = u"\r\n/C/1/CodigoTemporal/ftInteger/0/*\r\n/I/1/<Primary>/CodigoTemporal\r\n"_qs;
  const struct {
    const char* primeraLinea;
    const char* nombre;
  } casos[] = {
      {"Tabla Temporal 2", "TEMP000001_fGENEINIC"},
      {"Tabla Temporal", "TEMP000002_fGENEINIC"},
      {"Tabla Temporal 2", "TEMP000001_fGENEINIC"},
      {"Tabla Temporal 0", "TEMP000002_fGENEINIC"},
      {"Tabla Temporal 17", "TEMP000003_fGENEINIC"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.primeraLinea);
    Table temporal(&Servicios());
    ASSERT_TRUE(CrearTabla(temporal, QString::fromLatin1(caso.primeraLinea) + campos, -1));
    EXPECT_EQ(temporal.TableName(), QString::fromLatin1(caso.nombre));
  }
  // The long names carry the owner and the number.
  QStringList numeros;
  for (const QString& largo :
       EjecutarSQL(u"SELECT NombreTablaTemporalOrg FROM NOMBTTEM ORDER BY Contador"_qs, u"DatabaseGeneral"_qs)
           .split(u"\r\n"_qs))
    numeros.append(largo.section(u'_', 2, 3));
  EXPECT_EQ(numeros, QStringList({u"fGENEINIC_2"_qs, u"fGENEINIC_0"_qs, u"fGENEINIC_17"_qs}));
  EXPECT_TRUE(mensajes.Messages().isEmpty());
}
