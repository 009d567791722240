#include "platform/data/Field.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Brings an open CLIENTES table (customers 1 "Ana" and 2 "Luis", on customer
// 1) into a state, with "Cambiado" typed into Nombre where it can be.
void enterState(Table& table, DataSetState state) {
  switch (state) {
    case dsInactive:
      table.Close();
      break;
    case dsBrowse:
      break;
    case dsEdit:
      table.Edit();
      table.FieldByName(u"Nombre"_qs).SetAsString(u"Cambiado"_qs);
      break;
    case dsInsert:
      table.Append();
      table.FieldByName(u"Codigo"_qs).SetAsInteger(3);
      table.FieldByName(u"Nombre"_qs).SetAsString(u"Cambiado"_qs);
      break;
    case dsSetKey:
      table.SetKey();
      table.FieldByName(u"Codigo"_qs).SetAsInteger(2);
      break;
    case dsFilter:
    case dsCalcFields:
      FAIL() << "a state only filters, searches and calculations take, for a moment";
  }
  ASSERT_EQ(table.State(), state);
}

struct Outcome {
  const char* error;       // engine text raised, or nullptr
  DataSetState state;      // state afterwards
  const char* rowsStored;  // "Codigo:Nombre" of the stored rows
};

class DatasetOperations : public ::testing::Test {
 public:
  DatasetOperations() {
    data_.AddCustomer(1, u"Ana"_qs);
    data_.AddCustomer(2, u"Luis"_qs);
    table_ = data_.OpenTable(u"CLIENTES"_qs);
  }
  void TestBody() override {}

  QString storedRows() const { return Walk(*data_.OpenTable(u"CLIENTES"_qs), u"Codigo;Nombre"_qs).join(u' '); }

  void Check(DataSetState state, const std::function<void(Table&)>& operation, const Outcome& outcome) {
    SCOPED_TRACE(testing::Message() << "state " << state);
    if (!table_->Active()) table_->Open();
    enterState(*table_, state);
    const QString error = EngineMessageOf([&] { operation(*table_); });
    EXPECT_EQ(error, outcome.error ? QString::fromLatin1(outcome.error) : QString());
    EXPECT_EQ(table_->State(), outcome.state);
    EXPECT_EQ(storedRows(), QString::fromLatin1(outcome.rowsStored));
  }

 protected:
  DataFixture data_;
  std::unique_ptr<Table> table_;
};

const char* const kNotEditing = "Dataset not in edit or insert mode";
const char* const kClosed = "Cannot perform this operation on a closed dataset";

}  // namespace

// Each operation from each state, in order, on the same table.
TEST(DatasetOperationsInEachState, PostCancelAndDelete) {
  const struct {
    std::function<void(Table&)> operation;
    std::vector<std::pair<DataSetState, Outcome>> cases;
  } operations[] = {
      {[](Table& t) { t.Post(); },
       {{dsInactive, {kNotEditing, dsInactive, "1:Ana 2:Luis"}},
        {dsBrowse, {kNotEditing, dsBrowse, "1:Ana 2:Luis"}},
        {dsEdit, {nullptr, dsBrowse, "1:Cambiado 2:Luis"}},
        {dsInsert, {nullptr, dsBrowse, "1:Cambiado 2:Luis 3:Cambiado"}},
        {dsSetKey, {nullptr, dsBrowse, "1:Cambiado 2:Luis 3:Cambiado"}}}},
      {[](Table& t) { t.Cancel(); },
       {{dsInactive, {nullptr, dsInactive, "1:Ana 2:Luis"}},
        {dsBrowse, {nullptr, dsBrowse, "1:Ana 2:Luis"}},
        {dsEdit, {nullptr, dsBrowse, "1:Ana 2:Luis"}},
        {dsInsert, {nullptr, dsBrowse, "1:Ana 2:Luis"}},
        {dsSetKey, {nullptr, dsBrowse, "1:Ana 2:Luis"}}}},
      // A new or a key record is only given up; one being edited goes.
      {[](Table& t) { t.Delete(); },
       {{dsInactive, {kClosed, dsInactive, "1:Ana 2:Luis"}},
        {dsInsert, {nullptr, dsBrowse, "1:Ana 2:Luis"}},
        {dsSetKey, {nullptr, dsBrowse, "1:Ana 2:Luis"}},
        {dsEdit, {nullptr, dsBrowse, "2:Luis"}},
        {dsBrowse, {nullptr, dsBrowse, ""}}}},
  };
  for (const auto& [operation, cases] : operations) {
    DatasetOperations fixture;
    for (const auto& [state, outcome] : cases) fixture.Check(state, operation, outcome);
  }
}

TEST_F(DatasetOperations, FieldsAreWrittenOnlyInEditOrInsertState) {
  Field& nombre = table_->FieldByName(u"Nombre"_qs);
  EXPECT_EQ(EngineMessageOf([&] { nombre.SetAsString(u"X"_qs); }), QString::fromLatin1(kNotEditing));
  table_->Edit();
  nombre.SetReadOnly(true);
  EXPECT_EQ(EngineMessageOf([&] { nombre.SetAsString(u"X"_qs); }), u"Field 'Nombre' cannot be modified"_qs);
  EXPECT_FALSE(table_->Modified());
}

TEST_F(DatasetOperations, EventsRunInTheirOrder) {
  QStringList events;
  table_->Close();
  using Hook = DataSetNotifyEvent Dataset::*;
  const std::pair<const char*, Hook> hooks[] = {
      {"BeforeOpen", &Dataset::BeforeOpen},     {"AfterOpen", &Dataset::AfterOpen},
      {"BeforeScroll", &Dataset::BeforeScroll}, {"AfterScroll", &Dataset::AfterScroll},
      {"BeforeEdit", &Dataset::BeforeEdit},     {"AfterEdit", &Dataset::AfterEdit},
      {"BeforeInsert", &Dataset::BeforeInsert}, {"OnNewRecord", &Dataset::OnNewRecord},
      {"AfterInsert", &Dataset::AfterInsert},   {"BeforePost", &Dataset::BeforePost},
      {"AfterPost", &Dataset::AfterPost},       {"BeforeCancel", &Dataset::BeforeCancel},
      {"AfterCancel", &Dataset::AfterCancel},   {"BeforeDelete", &Dataset::BeforeDelete},
      {"AfterDelete", &Dataset::AfterDelete},   {"BeforeClose", &Dataset::BeforeClose},
      {"AfterClose", &Dataset::AfterClose}};
  for (const auto& [name, hook] : hooks) (*table_).*hook = [&events, name](Dataset&) { events.append(name); };

  const auto step = [&](const std::function<void()>& action) {
    events.clear();
    action();
    return events.join(u' ');
  };
  EXPECT_EQ(step([&] { table_->Open(); }), u"BeforeOpen AfterOpen AfterScroll"_qs);
  EXPECT_EQ(step([&] { table_->Next(); }), u"BeforeScroll AfterScroll"_qs);
  EXPECT_EQ(step([&] { table_->Edit(); }), u"BeforeEdit AfterEdit"_qs);
  EXPECT_EQ(step([&] { table_->Cancel(); }), u"BeforeCancel AfterCancel"_qs);
  // An unmodified record is given up before the next insertion...
  table_->Edit();
  EXPECT_EQ(step([&] { table_->Insert(); }),
            u"BeforeCancel AfterCancel BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll"_qs);
  // ...a modified one is posted.
  table_->FieldByName(u"Codigo"_qs).SetAsInteger(7);
  EXPECT_EQ(step([&] { table_->Append(); }),
            u"BeforePost AfterPost BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll"_qs);
  table_->FieldByName(u"Codigo"_qs).SetAsInteger(8);
  EXPECT_EQ(step([&] { table_->Post(); }), u"BeforePost AfterPost"_qs);
  EXPECT_EQ(step([&] { table_->Delete(); }), u"BeforeDelete BeforeScroll AfterDelete AfterScroll"_qs);
  EXPECT_EQ(step([&] { table_->Close(); }), u"BeforeClose AfterClose"_qs);
  EXPECT_EQ(data_.Scalar(u"SELECT COUNT(*) FROM CLIENTES"_qs).toInt(), 3);
}

TEST_F(DatasetOperations, ABeforePostThatAbortsEndsThePostSilently) {
  bool afterPost = false;
  table_->BeforePost = [](Dataset& dataset) {
    if (dataset.FieldByName(u"Nombre"_qs).AsString().isEmpty()) throw Abort();
  };
  table_->AfterPost = [&afterPost](Dataset&) { afterPost = true; };
  table_->Edit();
  table_->FieldByName(u"Nombre"_qs).Clear();
  EXPECT_THROW(table_->Post(), Abort);
  EXPECT_EQ(table_->State(), dsEdit);
  EXPECT_TRUE(table_->Modified());
  EXPECT_FALSE(afterPost);
  EXPECT_EQ(data_.Scalar(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 1"_qs).toString(), u"Ana"_qs);
  // Once the handler lets it through, the same record is written.
  table_->FieldByName(u"Nombre"_qs).SetAsString(u"Eva"_qs);
  table_->Post();
  EXPECT_TRUE(afterPost);
  EXPECT_EQ(data_.Scalar(u"SELECT Nombre FROM CLIENTES WHERE Codigo = 1"_qs).toString(), u"Eva"_qs);
}

TEST_F(DatasetOperations, OnNewRecordValuesAreNoChangesAndItsAbortLeavesNoNewRecord) {
  table_->OnNewRecord = [](Dataset& dataset) { dataset.FieldByName(u"Saldo"_qs).SetAsFloat(0); };
  table_->Append();
  EXPECT_FALSE(table_->Modified());
  EXPECT_FALSE(table_->FieldByName(u"Saldo"_qs).IsNull());
  table_->First();  // an unmodified new record is given up
  EXPECT_EQ(table_->RecordCount(), 2);
  table_->OnNewRecord = [](Dataset&) { throw Abort(); };
  EXPECT_THROW(table_->Append(), Abort);
  EXPECT_EQ(table_->State(), dsBrowse);
  EXPECT_EQ(table_->RecordCount(), 2);
}

TEST_F(DatasetOperations, NavigatesWithEofBofRecNoAndBookmarks) {
  data_.AddCustomer(3, u"Eva"_qs);
  table_->Refresh();
  table_->First();
  EXPECT_TRUE(table_->Bof());
  EXPECT_FALSE(table_->Eof());
  EXPECT_EQ(table_->RecNo(), 1);
  EXPECT_EQ(table_->RecordCount(), 3);
  EXPECT_EQ(Walk(*table_, u"Nombre"_qs), (QStringList{u"Ana"_qs, u"Luis"_qs, u"Eva"_qs}));
  EXPECT_EQ(table_->RecNo(), 3);  // Eof stays on the last record
  table_->Next();
  EXPECT_TRUE(table_->Eof());
  table_->Prior();
  EXPECT_FALSE(table_->Eof());
  EXPECT_EQ(table_->RecNo(), 2);
  const Bookmark onLuis = table_->GetBookmark();
  table_->Last();
  EXPECT_TRUE(table_->Eof());
  EXPECT_EQ(table_->MoveBy(-5), -2);
  EXPECT_TRUE(table_->Bof());
  table_->SetRecNo(3);
  EXPECT_EQ(table_->FieldByName(u"Codigo"_qs).AsInteger(), 3);
  EXPECT_TRUE(table_->BookmarkValid(onLuis));
  table_->GotoBookmark(onLuis);
  EXPECT_EQ(table_->FieldByName(u"Nombre"_qs).AsString(), u"Luis"_qs);
  // A bookmark outlives a refresh while its record does.
  table_->Refresh();
  EXPECT_EQ(table_->FieldByName(u"Nombre"_qs).AsString(), u"Luis"_qs);
  table_->Delete();
  EXPECT_FALSE(table_->BookmarkValid(onLuis));
  EXPECT_EQ(EngineMessageOf([&] { table_->GotoBookmark(onLuis); }), u"Record/Key deleted"_qs);
}

TEST(DatasetNavigation, AnEmptyDatasetIsAtBothEnds) {
  DataFixture data;
  auto table = data.OpenTable(u"CLIENTES"_qs);
  EXPECT_TRUE(table->IsEmpty());
  EXPECT_TRUE(table->Eof());
  EXPECT_TRUE(table->Bof());
  EXPECT_EQ(table->RecNo(), -1);
  EXPECT_TRUE(table->FieldByName(u"Codigo"_qs).IsNull());
  table->Next();
  EXPECT_TRUE(table->Eof());
  // Editing an empty dataset starts a new record.
  table->Edit();
  EXPECT_EQ(table->State(), dsInsert);
  EXPECT_FALSE(table->IsEmpty());
  // A closed one refuses to move.
  table->Close();
  EXPECT_TRUE(table->IsEmpty());
  EXPECT_EQ(EngineMessageOf([&] { table->First(); }), QString::fromLatin1(kClosed));
  EXPECT_EQ(EngineMessageOf([&] { table->Edit(); }), QString::fromLatin1(kClosed));
  EXPECT_EQ(EngineMessageOf([&] { table->RecordCount(); }), QString::fromLatin1(kClosed));
}
