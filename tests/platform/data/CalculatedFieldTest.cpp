#include "platform/data/Field.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

// PEDIDOS with the customer's name looked up in CLIENTES and a calculated
// total; order 3 names a customer that does not exist.
class CalculatedFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.AddCustomer(1, u"Ana"_qs);
    data.AddCustomer(2, u"Luis"_qs);
    data.Execute(u"CREATE TABLE PEDIDOS (Numero INTEGER NOT NULL PRIMARY KEY, Cliente INTEGER, Importe FLOAT);"
                 "INSERT INTO PEDIDOS VALUES (1, 2, 10), (2, 1, 20.5), (3, 9, 5)"_qs);
    clientes = data.OpenTable(u"CLIENTES"_qs);
    pedidos = data.NewTable(u"PEDIDOS"_qs);
    nombre = new Field(pedidos.get(), u"NombreCliente"_qs, ftString, 40);
    nombre->SetFieldKind(fkLookup);
    nombre->SetLookupDataSet(clientes.get());
    nombre->SetLookupKeyFields(u"Codigo"_qs);
    nombre->SetLookupResultField(u"Nombre"_qs);
    nombre->SetKeyFields(u"Cliente"_qs);
    total = new Field(pedidos.get(), u"Total"_qs, ftFloat);
    total->SetFieldKind(fkCalculated);
    pedidos->OnCalcFields = [this](Dataset& dataset) {
      ++calculations;
      EXPECT_EQ(dataset.State(), dsCalcFields);
      total->SetAsFloat(dataset.FieldByName(u"Importe"_qs).AsFloat() * 2);
    };
    pedidos->Open();
  }

  QStringList shown() { return Walk(*pedidos, u"Numero;NombreCliente;Total"_qs); }

  DataFixture data;
  std::unique_ptr<Table> clientes;
  std::unique_ptr<Table> pedidos;
  Field* nombre = nullptr;
  Field* total = nullptr;
  int calculations = 0;
};

}  // namespace

TEST_F(CalculatedFieldTest, FollowTheRecordShownAndTheEditedValues) {
  EXPECT_EQ(pedidos->GetFieldNames(),
            (QStringList{u"Numero"_qs, u"Cliente"_qs, u"Importe"_qs, u"NombreCliente"_qs, u"Total"_qs}));
  EXPECT_EQ(pedidos->FieldByName(u"Importe"_qs).FieldKind(), fkData);
  EXPECT_EQ(shown(), (QStringList{u"1:Luis:20"_qs, u"2:Ana:41"_qs, u"3::10"_qs}));
  EXPECT_EQ(clientes->RecNo(), 1) << "the lookup does not move its dataset";

  pedidos->First();
  pedidos->Edit();
  pedidos->FieldByName(u"Cliente"_qs).SetAsInteger(1);
  pedidos->FieldByName(u"Importe"_qs).SetAsFloat(3);
  EXPECT_EQ(nombre->AsString(), u"Ana"_qs);
  EXPECT_EQ(total->AsFloat(), 6);
  pedidos->Cancel();
  EXPECT_EQ(nombre->AsString(), u"Luis"_qs);
  EXPECT_EQ(total->AsFloat(), 20);

  // A filter and a search see them too.
  pedidos->SetFilter(u"Total > '15'"_qs);
  pedidos->SetFiltered(true);
  EXPECT_EQ(Walk(*pedidos, u"Numero"_qs), (QStringList{u"1"_qs, u"2"_qs}));
  EXPECT_TRUE(pedidos->Locate(u"NombreCliente"_qs, Text(u"Ana"_qs)));
  EXPECT_EQ(pedidos->FieldByName(u"Numero"_qs).AsInteger(), 2);
  EXPECT_GT(calculations, 0);
}

TEST_F(CalculatedFieldTest, AreWrittenOnlyWhileWorkedOutOrEditingAndKeepTheirKind) {
  EXPECT_EQ(EngineMessageOf([&] { total->SetAsFloat(1); }), u"Dataset not in edit or insert mode"_qs);
  EXPECT_EQ(EngineMessageOf([&] { total->SetFieldKind(fkData); }),
            u"Cannot perform this operation on an open dataset"_qs);
  pedidos->Close();
  pedidos->Open();
  EXPECT_EQ(total->FieldKind(), fkCalculated);
  EXPECT_EQ(nombre->FieldKind(), fkLookup);
  EXPECT_EQ(nombre->KeyFields(), u"Cliente"_qs);
  EXPECT_EQ(nombre->AsString(), u"Luis"_qs);
  // The lookup table moved on: the name follows at the next record shown.
  data.Execute(u"UPDATE CLIENTES SET Nombre = 'Ana María' WHERE Codigo = 1"_qs);
  clientes->Refresh();
  pedidos->Next();
  EXPECT_EQ(nombre->AsString(), u"Ana María"_qs);
}

TEST_F(CalculatedFieldTest, TextEventsStandInForTheFieldsOwnText) {
  Field& cliente = pedidos->FieldByName(u"Cliente"_qs);
  cliente.OnGetText = [](Field& sender, QString& text, bool displayText) {
    text = (displayText ? u"Cliente "_qs : QString()) + sender.AsString();
  };
  cliente.OnSetText = [this](Field& sender, const QString& text) {
    sender.SetAsVariant(clientes->Lookup(u"Nombre"_qs, Text(text), u"Codigo"_qs));
  };
  EXPECT_EQ(cliente.Text(), u"2"_qs);
  EXPECT_EQ(cliente.DisplayText(), u"Cliente 2"_qs);
  pedidos->Edit();
  cliente.SetText(u"Ana"_qs);
  EXPECT_EQ(cliente.AsInteger(), 1);
  EXPECT_EQ(nombre->DisplayText(), u"Ana"_qs);
  cliente.SetText(u"Nadie"_qs);
  EXPECT_TRUE(cliente.IsNull());
  EXPECT_TRUE(nombre->IsNull());
}
