#include "platform/data/Field.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

// PEDIDOS with the customer's name looked up in CLIENTES and a calculated
// total; order 3 names a customer that does not exist.
TEST(CalculatedFields, FollowTheRecordShownTheEditedValuesAndTheirTextEvents) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  data.AddCustomer(2, u"Luis"_qs);
  data.Execute(u"CREATE TABLE PEDIDOS (Numero INTEGER NOT NULL PRIMARY KEY, Cliente INTEGER, Importe FLOAT);"
               "INSERT INTO PEDIDOS VALUES (1, 2, 10), (2, 1, 20.5), (3, 9, 5)"_qs);
  auto clientes = data.OpenTable(u"CLIENTES"_qs);
  auto pedidos = data.NewTable(u"PEDIDOS"_qs);
  auto* nombre = new Field(pedidos.get(), u"NombreCliente"_qs, ftString, 40);
  nombre->SetFieldKind(fkLookup);
  nombre->SetLookupDataSet(clientes.get());
  nombre->SetLookupKeyFields(u"Codigo"_qs);
  nombre->SetLookupResultField(u"Nombre"_qs);
  nombre->SetKeyFields(u"Cliente"_qs);
  auto* total = new Field(pedidos.get(), u"Total"_qs, ftFloat);
  total->SetFieldKind(fkCalculated);
  pedidos->OnCalcFields = [total](Dataset& dataset) {
    EXPECT_EQ(dataset.State(), dsCalcFields);
    total->SetAsFloat(dataset.FieldByName(u"Importe"_qs).AsFloat() * 2);
  };
  pedidos->Open();
  EXPECT_EQ(pedidos->GetFieldNames().join(u' '), u"Numero Cliente Importe NombreCliente Total"_qs);
  EXPECT_EQ(Walk(*pedidos, u"Numero;NombreCliente;Total"_qs),
            (QStringList{u"1:Luis:20"_qs, u"2:Ana:41"_qs, u"3::10"_qs}));
  EXPECT_EQ(clientes->RecNo(), 1) << "the lookup does not move its dataset";
  EXPECT_EQ(EngineMessageOf([&] { total->SetAsFloat(1); }), u"Dataset not in edit or insert mode"_qs);
  EXPECT_EQ(EngineMessageOf([&] { total->SetFieldKind(fkData); }),
            u"Cannot perform this operation on an open dataset"_qs);

  // While editing they follow the data fields, set as text through the events.
  Field& cliente = pedidos->FieldByName(u"Cliente"_qs);
  cliente.OnGetText = [](Field& sender, QString& text, bool displayText) {
    text = (displayText ? u"Cliente "_qs : QString()) + sender.AsString();
  };
  cliente.OnSetText = [&](Field& sender, const QString& text) {
    sender.SetAsVariant(clientes->Lookup(u"Nombre"_qs, Text(text), u"Codigo"_qs));
  };
  pedidos->First();
  EXPECT_EQ(cliente.Text() + u'/' + cliente.DisplayText(), u"2/Cliente 2"_qs);
  pedidos->Edit();
  cliente.SetText(u"Ana"_qs);
  pedidos->FieldByName(u"Importe"_qs).SetAsFloat(3);
  EXPECT_EQ(cliente.AsInteger(), 1);
  EXPECT_EQ(nombre->AsString() + u'/' + total->AsString(), u"Ana/6"_qs);
  cliente.SetText(u"Nadie"_qs);
  EXPECT_TRUE(nombre->IsNull());
  pedidos->Cancel();
  EXPECT_EQ(nombre->AsString() + u'/' + total->AsString(), u"Luis/20"_qs);

  // Filters and searches see them; a new opening keeps them.
  pedidos->SetFilter(u"Total > '15'"_qs);
  pedidos->SetFiltered(true);
  EXPECT_EQ(Walk(*pedidos, u"Numero"_qs), (QStringList{u"1"_qs, u"2"_qs}));
  EXPECT_TRUE(pedidos->Locate(u"NombreCliente"_qs, Text(u"Ana"_qs)));
  EXPECT_EQ(pedidos->FieldByName(u"Numero"_qs).AsInteger(), 2);
  data.Execute(u"UPDATE CLIENTES SET Nombre = 'Ana María' WHERE Codigo = 1"_qs);
  clientes->Refresh();
  pedidos->Close();
  pedidos->Open();
  EXPECT_EQ(total->FieldKind(), fkCalculated);
  EXPECT_EQ(Walk(*pedidos, u"NombreCliente"_qs), (QStringList{u"Luis"_qs, u"Ana María"_qs}));
}
