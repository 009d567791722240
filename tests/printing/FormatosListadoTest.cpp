#include "printing/FormatosListado.h"

#include "core/connections/AperturaTablas.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <gtest/gtest.h>

namespace {

// FORMLIST as the shipped definitions create it, seen by two programs.
class FormatosListado : public ConexionesFixture {
 protected:
  FormatosListado() {
    Iniciar();
    for (Table* tabla : {&nuestra, &otra}) {
      tabla->SetTableName(u"FORMLIST"_qs);
      EXPECT_TRUE(AbrirTabla(Servicios(), Servicios(), *tabla));
      tabla->SetFilter(FiltroFormatos(u"CLIENTE"_qs));
      tabla->SetFiltered(true);
    }
  }

  QStringList Nombres(Table& tabla) {
    QStringList nombres;
    tabla.Refresh();
    for (tabla.First(); !tabla.Eof(); tabla.Next()) nombres.append(tabla.FieldByName(u"Nombre"_qs).AsString());
    return nombres;
  }

  const FormatoListado formato{u"Clientes"_qs, {u"Codigo"_qs, u"Nombre"_qs}, u"(Codigo >= '1')"_qs};
  Table nuestra;
  Table otra;
};

TEST_F(FormatosListado, SavedAsThenLoadedKeepsOnlyWhatTheUserMaySee) {
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"Básico"_qs, formato));
  EXPECT_EQ(nuestra.FieldByName(u"ListaSeleccionado"_qs).AsString(), u"Codigo\r\nNombre"_qs);
  CamposNoVisiblesUsuario = u"Nombre"_qs;
  const QStringList disponibles = CamposDisponiblesListado({u"Codigo"_qs, u"Nombre"_qs, u"Alta"_qs});
  EXPECT_EQ(disponibles, (QStringList{u"Codigo"_qs, u"Alta"_qs}));
  const FormatoListado leido = FormatoGuardado(nuestra, disponibles);
  EXPECT_EQ(leido.titulo, u"Clientes"_qs);
  EXPECT_EQ(leido.seleccionados, QStringList{u"Codigo"_qs});
  EXPECT_EQ(leido.filtros, formato.filtros);
}

TEST_F(FormatosListado, ASelectionWithAnyLineEndsAndMissingFieldsLoadsWhatExists) {
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"Viejo"_qs, formato));
  nuestra.Edit();
  nuestra.FieldByName(u"ListaSeleccionado"_qs).SetAsString(u"Alta\rBorrado\nCodigo\r\n\r\nNombre"_qs);
  nuestra.Post();
  EXPECT_EQ(FormatoGuardado(nuestra, {u"Codigo"_qs, u"Nombre"_qs, u"Alta"_qs}).seleccionados,
            (QStringList{u"Alta"_qs, u"Codigo"_qs, u"Nombre"_qs}));
}

TEST_F(FormatosListado, TwoProgramsSavingOneNameKeepOneRecord) {
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"Mensual"_qs, formato));
  EXPECT_FALSE(GuardarFormatoComo(otra, u"CLIENTE"_qs, u"Mensual"_qs, {u"Otro"_qs, {}, QString()}));
  EXPECT_EQ(otra.State(), dsBrowse);
  EXPECT_EQ(Nombres(otra), QStringList{u"Mensual"_qs});
  otra.First();
  EXPECT_EQ(otra.FieldByName(u"Titulo"_qs).AsString(), u"Clientes"_qs);
  // The same name under another table is another format.
  EXPECT_TRUE(GuardarFormatoComo(otra, u"ARTICULO"_qs, u"Mensual"_qs, formato));
}

TEST_F(FormatosListado, SavingAFormatAnotherProgramDeletedRecreatesNothing) {
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"Mensual"_qs, formato));
  otra.Refresh();
  otra.First();
  otra.Delete();
  EXPECT_FALSE(GuardarFormato(nuestra, {u"Cambiado"_qs, {u"Codigo"_qs}, QString()}));
  EXPECT_EQ(nuestra.State(), dsBrowse);
  EXPECT_EQ(Nombres(otra), QStringList());
}

TEST_F(FormatosListado, SavingChangesTheCurrentRecordOnly) {
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"A"_qs, formato));
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"B"_qs, formato));
  ASSERT_TRUE(nuestra.Locate(u"Nombre"_qs, Variant::String(u"A"_qs)));
  ASSERT_TRUE(GuardarFormato(nuestra, {u"Nuevo"_qs, {u"Nombre"_qs}, QString()}));
  otra.Refresh();
  ASSERT_TRUE(otra.Locate(u"Nombre"_qs, Variant::String(u"B"_qs)));
  EXPECT_EQ(otra.FieldByName(u"Titulo"_qs).AsString(), u"Clientes"_qs);
  ASSERT_TRUE(otra.Locate(u"Nombre"_qs, Variant::String(u"A"_qs)));
  EXPECT_EQ(otra.FieldByName(u"Titulo"_qs).AsString(), u"Nuevo"_qs);
  EXPECT_EQ(otra.FieldByName(u"ListaSeleccionado"_qs).AsString(), u"Nombre"_qs);
}

TEST_F(FormatosListado, ATitleLongerThanItsFieldKeepsItsFirst250CharactersAndTheFilterWhole) {
  const FormatoListado largo{QString(10000, u'T'), {u"Codigo"_qs}, QString(10000, u'F')};
  ASSERT_TRUE(GuardarFormatoComo(nuestra, u"CLIENTE"_qs, u"Largo"_qs, largo));
  EXPECT_EQ(Nombres(otra), QStringList{u"Largo"_qs});
  const FormatoListado leido = FormatoGuardado(otra, {u"Codigo"_qs});
  EXPECT_EQ(leido.titulo, QString(250, u'T'));
  EXPECT_EQ(leido.filtros, largo.filtros);
}

TEST(FormatoStandard, EveryAvailableFieldAndTheDefaultTitle) {
  const QStringList campos{u"Codigo"_qs, u"Nombre"_qs};
  EXPECT_EQ(FormatoStandard(campos, QString(), u"CLIENTE"_qs).titulo, u"Listado programable de la tabla CLIENTE"_qs);
  EXPECT_EQ(FormatoStandard(campos, u"Clientes"_qs, u"CLIENTE"_qs).titulo, u"Clientes"_qs);
  EXPECT_EQ(FormatoStandard(campos, QString(), u"CLIENTE"_qs).seleccionados, campos);
  EXPECT_TRUE(FormatoStandard(campos, QString(), u"CLIENTE"_qs).filtros.isEmpty());
}

}  // namespace
