#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/InstantaneaRegistro.h"
#include "core/datamodule/PrepararTabla.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"
#include "tests/core/connections/ConexionesFixture.h"

TEST(CamposNoVisibles, FragmentsHideAndDashedNamesExempt) {
  struct Caso {
    const char* lista;
    const char* campo;
    bool oculto;
  };
  const Caso casos[] = {
      {"", "PrecioCoste", false},
      {"Precio,-PrecioVenta", "PrecioCoste", true},
      {"Precio,-PrecioVenta", "preciOVENTA", false},
      {"Precio, -PrecioVenta", "PrecioVenta", false},
      {" coste ", "PrecioCoste", true},
      {"Nombre,,Precio", "PrecioCoste", false},  // items end at the first empty one
      {"-Precio", "PrecioCoste", false},
  };
  for (const Caso& caso : casos) {
    CamposNoVisiblesUsuario = QString::fromLatin1(caso.lista);
    EXPECT_EQ(CampoNoVisible(QString::fromLatin1(caso.campo)), caso.oculto) << caso.lista << " / " << caso.campo;
  }
}

namespace {

class DatosRegistro : public ConexionesFixture {
 protected:
  DatosRegistro() {
    Iniciar();
    Ejecutar(u"CREATE TABLE CLIENTE (Codigo VARCHAR(10), Nombre VARCHAR(20) NULL, HoraEntrada DATETIME NULL, "
             "CONSTRAINT CLIENTE_Clave1 PRIMARY KEY (Codigo))"_qs);
    Ejecutar(u"CREATE INDEX CLIENTE_Nombre ON CLIENTE (Nombre)"_qs);
    Ejecutar(u"INSERT INTO CLIENTE (Codigo, Nombre, HoraEntrada) VALUES ('7', 'Ana', '05/03/2024 08:30:00')"_qs);
    Ejecutar(u"INSERT INTO CLIENTE (Codigo, Nombre) VALUES ('8', 'Luis')"_qs);
    cliente.SetTableName(u"CLIENTE"_qs);
    EXPECT_TRUE(PrepararTabla(cliente));
  }

  // The time field as its time of day.
  QString Valor(const char* campo) const {
    const Field& field = cliente.FieldByName(QString::fromLatin1(campo));
    return field.DataType() == ftDateTime ? FormatDateTime(u"hh:nn:ss"_qs, field.AsDateTime()) : field.AsString();
  }

  Table cliente;
};

}  // namespace

TEST_F(DatosRegistro, ARecordIsCopiedAndPastedWithItsTimesAsTimeTexts) {
  EXPECT_EQ(CamposHoraRegistro(cliente), u"7|Ana|08:30:00|"_qs);
  cliente.Last();
  RestaurarCamposRegistro(cliente, u"SinIndices"_qs);
  EXPECT_EQ(cliente.State(), dsEdit);
  cliente.Post();
  EXPECT_EQ(QStringList({Valor("Codigo"), Valor("Nombre"), Valor("HoraEntrada")}),
            QStringList({u"8"_qs, u"Ana"_qs, u"08:30:00"_qs}));

  // A value holding "|" shifts the later fields; a refused one is skipped.
  CamposHoraGuardados = u"9|A|B|x|"_qs;
  RestaurarCamposRegistro(cliente);
  EXPECT_EQ(QStringList({Valor("Codigo"), Valor("Nombre"), Valor("HoraEntrada")}),
            QStringList({u"9"_qs, u"A"_qs, u"08:30:00"_qs}));
  cliente.Cancel();

  cliente.SetRange({Variant::String(u"X"_qs)}, {Variant::String(u"X"_qs)});
  EXPECT_EQ(CamposHoraRegistro(cliente), QString());
  EXPECT_EQ(CamposHoraGuardados, QString());
}

TEST_F(DatosRegistro, PrepararTablaLeavesTheTableUnfilteredOnItsPrimaryIndexWithoutRange) {
  cliente.SetIndexName(u"Nombre"_qs);
  cliente.SetRange({Variant::String(u"Luis"_qs)}, {Variant::String(u"Luis"_qs)});
  cliente.SetFilter(u"Codigo = '8'"_qs);
  cliente.SetFiltered(true);
  ASSERT_TRUE(PrepararTabla(cliente));
  EXPECT_FALSE(cliente.Filtered());
  EXPECT_EQ(cliente.IndexName(), QString());
  EXPECT_EQ(cliente.RecordCount(), 2);
  cliente.First();
  EXPECT_EQ(Valor("Codigo"), u"7"_qs);

  Table inexistente;
  inexistente.SetTableName(u"NOEXISTE"_qs);
  EXPECT_FALSE(PrepararTabla(inexistente));
}
