#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

// DOCUMENTOS 1 and 2 (3 has no lines) and their LINEAS, the lines linked to
// the documents as the printed-form engine links its two tables.
class MasterDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto create = data.NewTable(u"DOCUMENTOS"_qs);
    create->FieldDefs().Add(u"CodigoTemporal"_qs, ftInteger);
    create->FieldDefs().Add(u"Cliente"_qs, ftString, 40);
    create->IndexDefs().Add(QString(), u"CodigoTemporal"_qs, ixPrimary);
    create->CreateTable();
    data.Execute(u"INSERT INTO DOCUMENTOS VALUES (1, 'Ana'), (2, 'Luis'), (3, 'Eva')"_qs);
    CreateLines(data);
    AddLine(data, 1, 1, 0, u"uno.1"_qs);
    AddLine(data, 1, 2, 0, u"uno.2"_qs);
    AddLine(data, 2, 1, 0, u"dos.1"_qs);

    documents = data.OpenTable(u"DOCUMENTOS"_qs);
    source.SetDataSet(documents.get());
    lines = data.NewTable(u"LINEAS"_qs);
    lines->SetIndexFieldNames(u"CodigoTemporal;Linea;LineaMemo"_qs);
    lines->SetMasterFields(u"CodigoTemporal"_qs);
    lines->SetMasterSource(&source);
    lines->Open();
  }

  QStringList texts() { return Walk(*lines, u"Texto"_qs); }

  void appendLine(int line, int memoLine, const QString& text) {
    AppendRecord(*lines, {{u"Linea"_qs, Int(line)}, {u"LineaMemo"_qs, Int(memoLine)}, {u"Texto"_qs, Text(text)}});
  }

  DataFixture data;
  std::unique_ptr<Table> documents;
  DataSource source;
  std::unique_ptr<Table> lines;
};

TEST_F(MasterDetailTest, TheDetailShowsTheLinesOfTheMastersRecord) {
  EXPECT_EQ(texts(), QStringList({u"uno.1"_qs, u"uno.2"_qs}));
  documents->Next();
  EXPECT_EQ(texts(), QStringList({u"dos.1"_qs}));
  documents->Next();
  EXPECT_TRUE(lines->IsEmpty());
  documents->First();
  EXPECT_EQ(lines->RecordCount(), 2);
  // Without the master the detail shows every line.
  lines->SetMasterSource(nullptr);
  EXPECT_EQ(lines->RecordCount(), 3);
}

TEST_F(MasterDetailTest, TheDetailPostsBeforeTheMasterMovesAndAFailureKeepsTheMaster) {
  lines->Append();
  lines->FieldByName(u"Linea"_qs).SetAsInteger(1);  // line 1 of document 1 exists
  lines->FieldByName(u"LineaMemo"_qs).SetAsInteger(0);
  lines->FieldByName(u"Texto"_qs).SetAsString(u"uno.3"_qs);
  EXPECT_EQ(EngineMessageOf([&] { documents->Next(); }), u"Key violation"_qs);
  EXPECT_EQ(documents->FieldByName(u"CodigoTemporal"_qs).AsInteger(), 1);
  EXPECT_EQ(lines->State(), dsInsert);
  lines->FieldByName(u"Linea"_qs).SetAsInteger(3);
  documents->Next();
  EXPECT_EQ(data.Scalar(u"SELECT CodigoTemporal FROM LINEAS WHERE Texto = 'uno.3'"_qs).toInt(), 1);
  EXPECT_EQ(texts(), QStringList({u"dos.1"_qs}));
}

TEST_F(MasterDetailTest, TheDetailFollowsTheMasterThroughInsertsAndDeletes) {
  documents->Append();
  EXPECT_TRUE(lines->IsEmpty()) << "a master being inserted has no lines";
  documents->FieldByName(u"CodigoTemporal"_qs).SetAsInteger(4);
  documents->Post();
  EXPECT_TRUE(lines->IsEmpty());
  appendLine(1, 0, u"cuatro.1"_qs);  // takes the master's key
  EXPECT_EQ(texts(), QStringList({u"cuatro.1"_qs}));
  EXPECT_EQ(data.Scalar(u"SELECT CodigoTemporal FROM LINEAS WHERE Texto = 'cuatro.1'"_qs).toInt(), 4);

  documents->First();
  documents->Delete();  // document 1: the master goes on to document 2
  EXPECT_EQ(documents->FieldByName(u"CodigoTemporal"_qs).AsInteger(), 2);
  EXPECT_EQ(texts(), QStringList({u"dos.1"_qs}));
  documents->Last();
  documents->Delete();  // document 4, the last: back to document 3
  EXPECT_EQ(documents->FieldByName(u"CodigoTemporal"_qs).AsInteger(), 3);
  EXPECT_TRUE(lines->IsEmpty());
}

TEST_F(MasterDetailTest, WithTheMastersControlsDisabledTheDetailWaits) {
  int changes = 0;
  source.OnDataChange = [&](DataSource& sender, Field*) {
    EXPECT_EQ(&sender, &source);
    ++changes;
  };
  documents->DisableControls();
  documents->DisableControls();
  EXPECT_TRUE(documents->ControlsDisabled());
  documents->Next();
  EXPECT_EQ(lines->FieldByName(u"Texto"_qs).AsString(), u"uno.1"_qs);
  documents->EnableControls();
  documents->Next();
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(lines->RecordCount(), 2) << "still document 1's lines";
  documents->EnableControls();
  EXPECT_FALSE(documents->ControlsDisabled());
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(lines->IsEmpty()) << "document 3 has none";
  EXPECT_EQ(source.State(), dsBrowse);
  documents->Edit();
  EXPECT_EQ(source.State(), dsEdit);
}

// The printed-form engine walks a document's lines in index order; printing
// a long text appends continuation rows right after the line being printed
// and goes back to it; the walk then prints those rows too, and nothing twice.
TEST_F(MasterDetailTest, RowsAppendedBehindTheLineBeingWalkedAreWalkedNext) {
  QStringList printed;
  lines->First();
  while (!lines->Eof()) {
    const QString text = lines->FieldByName(u"Texto"_qs).AsString();
    printed.append(text);
    if (lines->FieldByName(u"LineaMemo"_qs).AsInteger() == 0 && text == u"uno.1") {
      const Bookmark line = lines->GetBookmark();
      const int number = lines->FieldByName(u"Linea"_qs).AsInteger();
      for (int memoLine = 1; memoLine <= 2; ++memoLine) {
        const NamedValues values = {{u"Linea"_qs, Int(number)}, {u"LineaMemo"_qs, Int(memoLine)},
                                    {u"Texto"_qs, Text(QStringLiteral("uno.1 sigue %1").arg(memoLine))}};
        if (lines->FindKey({Int(1), Int(number), Int(memoLine)}))
          EditRecord(*lines, values);
        else
          AppendRecord(*lines, values);
      }
      appendLine(0, 0, u"antes"_qs);  // before the walk's position: not walked
      lines->GotoBookmark(line);
    }
    lines->Next();
  }
  EXPECT_EQ(printed, QStringList({u"uno.1"_qs, u"uno.1 sigue 1"_qs, u"uno.1 sigue 2"_qs, u"uno.2"_qs}));
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM LINEAS WHERE CodigoTemporal = 1"_qs).toInt(), 5);
}

TEST_F(MasterDetailTest, ContinuationRowsLeftByAnEarlierRunAreEditedNotDuplicated) {
  AddLine(data, 1, 1, 1, u"vieja"_qs);
  lines->Refresh();
  ASSERT_TRUE(lines->FindKey({Int(1), Int(1), Int(1)}));
  EditRecord(*lines, {{u"Texto"_qs, Text(u"nueva"_qs)}});
  EXPECT_EQ(texts(), QStringList({u"uno.1"_qs, u"nueva"_qs, u"uno.2"_qs}));

  // Removing them walking from the last row to the first.
  lines->Last();
  while (!lines->Bof()) {
    if (lines->FieldByName(u"LineaMemo"_qs).AsInteger() > 0)
      lines->Delete();
    else
      lines->Prior();
  }
  EXPECT_EQ(texts(), QStringList({u"uno.1"_qs, u"uno.2"_qs}));
}

}  // namespace
