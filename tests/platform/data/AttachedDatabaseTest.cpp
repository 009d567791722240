#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"
#include "tests/platform/data/ServerRoad.h"

#include <gtest/gtest.h>

namespace {

// A company's folder whose connection keeps another file attached as the
// general database; only that file has the table SECRETO.
class AttachedDatabaseTest : public ::testing::Test {
 protected:
  AttachedDatabaseTest() {
    InstallServerRoad();
    general_.Execute(u"CREATE TABLE SECRETO (Codigo INT, Nombre TEXT); INSERT INTO SECRETO VALUES (1, 'ajeno')"_qs);
    company_ = OpenConnection(empresa_.File());
    company_->Attached().Keep(u"GENERAL"_qs, general_.File());
    empresa_.AddCustomer(1, u"Ana"_qs);
  }

  QString RunInCompany(const QString& sql) const {
    return EngineMessageOf([&] {
      Query query;
      query.SetDatabaseName(empresa_.Folder());
      query.SQL().SetText(sql);
      if (sql.startsWith(u"SELECT"))
        query.Open();
      else
        query.ExecSQL();
    });
  }

  QString GeneralRows() const {
    return general_.Scalar(u"SELECT group_concat(Codigo || Nombre) FROM SECRETO"_qs).toString();
  }

  DataFixture empresa_, general_;
  std::shared_ptr<Connection> company_;  // keeps the attachment for the test's life
};

}  // namespace

TEST_F(AttachedDatabaseTest, StatementsNeverReachATableOfAnAttachedFile) {
  for (const QString& sql : {u"SELECT Nombre FROM SECRETO"_qs, u"SELECT C.Nombre FROM CLIENTES C, SECRETO S"_qs,
                             u"SELECT Nombre FROM CLIENTES WHERE Codigo IN (SELECT Codigo FROM dbo.SECRETO)"_qs,
                             u"SELECT TOP 1 Nombre FROM [SECRETO]"_qs,
                             u"INSERT INTO SECRETO (Codigo, Nombre) VALUES (2, 'x')"_qs,
                             u"UPDATE SECRETO SET Nombre = 'x'"_qs, u"DELETE SECRETO"_qs,
                             u"DELETE FROM dbo.SECRETO WHERE Codigo = 1"_qs, u"DROP TABLE SECRETO"_qs,
                             u"ALTER TABLE SECRETO ADD Otra INT NULL"_qs, u"CREATE INDEX SECRETO_Nombre ON SECRETO (Nombre)"_qs})
    EXPECT_EQ(RunInCompany(sql), u"Table does not exist"_qs) << sql.toStdString();
  EXPECT_EQ(GeneralRows(), u"1ajeno"_qs);
  EXPECT_EQ(general_.Scalar(u"SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'SECRETO'"_qs).toInt(), 0);

  // Named through the general database it is reached, joined to the company's own tables.
  Query join;
  join.SetDatabaseName(empresa_.Folder());
  join.SQL().SetText(u"SELECT C.Nombre + '/' + S.Nombre FROM CLIENTES C JOIN GENERAL.dbo.SECRETO S ON S.Codigo = C.Codigo"_qs);
  join.Open();
  EXPECT_EQ(join.Fields(0).AsString(), u"Ana/ajeno"_qs);

  // Created without qualification, the table is the company's own.
  EXPECT_EQ(RunInCompany(u"CREATE TABLE SECRETO (Codigo INT, Nombre VARCHAR(10) NULL)"_qs), QString());
  EXPECT_EQ(RunInCompany(u"INSERT INTO SECRETO (Codigo, Nombre) VALUES (2, 'propio')"_qs), QString());
  EXPECT_EQ(empresa_.Scalar(u"SELECT group_concat(Codigo || Nombre) FROM SECRETO"_qs).toString(), u"2propio"_qs);
  EXPECT_EQ(GeneralRows(), u"1ajeno"_qs);
}

TEST_F(AttachedDatabaseTest, ATableOfTheCompanyNeverOpensTheAttachedFilesTable) {
  auto secreto = empresa_.NewTable(u"SECRETO"_qs);
  EXPECT_FALSE(secreto->Exists());
  EXPECT_EQ(EngineMessageOf([&] { secreto->Open(); }), u"Table does not exist"_qs);
  EXPECT_FALSE(secreto->Active());
  EXPECT_EQ(EngineMessageOf([&] { secreto->EmptyTable(); }), u"Table does not exist"_qs);
  EXPECT_EQ(EngineMessageOf([&] { secreto->DeleteTable(); }), u"Table does not exist"_qs);
  EXPECT_EQ(GeneralRows(), u"1ajeno"_qs);

  // Creating it makes the company's own and leaves the general database's alone.
  secreto->FieldDefs().Add(u"Codigo"_qs, ftInteger);
  secreto->FieldDefs().Add(u"Nombre"_qs, ftString, 10);
  secreto->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
  secreto->IndexDefs().Add(u"Nombre"_qs, u"Nombre"_qs, 0);
  secreto->CreateTable();
  EXPECT_TRUE(secreto->Exists());
  secreto->Open();
  EXPECT_EQ(secreto->RecordCount(), 0);
  EXPECT_EQ(secreto->IndexDefs().Count(), 2);
  AppendRecord(*secreto, {{u"Codigo"_qs, Int(2)}, {u"Nombre"_qs, Text(u"propio"_qs)}});
  EXPECT_EQ(empresa_.Scalar(u"SELECT group_concat(Codigo || Nombre) FROM SECRETO"_qs).toString(), u"2propio"_qs);
  EXPECT_EQ(empresa_.Scalar(u"SELECT count(*) FROM sqlite_master WHERE name = 'SECRETO_Nombre'"_qs).toInt(), 1);
  EXPECT_EQ(GeneralRows(), u"1ajeno"_qs);
  EXPECT_EQ(general_.Scalar(u"SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'SECRETO'"_qs).toInt(), 0);
}
