#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr int kFiles = 12;

// A main file and twelve others, each with T holding its number.
class AttachmentsTest : public ::testing::Test {
 protected:
  AttachmentsTest() {
    for (int file = 1; file <= kFiles; ++file)
      OpenConnection(File(file))->Execute(u"CREATE TABLE T (N INT); INSERT INTO T VALUES (%1)"_qs.arg(file));
    OpenConnection(folder_.File(u"GENERAL.sqlite"_qs))->Execute(u"CREATE TABLE G (N INT)"_qs);
    main_ = OpenConnection(folder_.File(u"MAIN.sqlite"_qs));
  }

  QString File(int file) const { return folder_.File(Schema(file) + u".sqlite"_qs); }
  static QString Schema(int file) { return u"E%1"_qs.arg(file, 2, 10, QLatin1Char('0')); }
  int Number(int file) { return main_->QueryRows(u"SELECT N FROM %1.T"_qs.arg(Schema(file))).rows[0][0].toInt(); }
  QStringList Schemas(int from, int to) const {
    QStringList schemas;
    for (int file = from; file <= to; ++file) schemas << Schema(file);
    return schemas;
  }

  TemporaryFolder folder_;
  std::shared_ptr<Connection> main_;
};

}  // namespace

TEST_F(AttachmentsTest, FilesUsedOnDemandMakeRoomLeastRecentlyUsedFirst) {
  Attachments& attached = main_->Attached();
  attached.Keep(u"GENERAL"_qs, folder_.File(u"GENERAL.sqlite"_qs));
  for (int file = 1; file <= kFiles; ++file) {
    attached.Use(Schema(file), File(file));
    EXPECT_EQ(Number(file), file);
  }
  // Ten at once: the general database and the nine used last.
  EXPECT_TRUE(attached.Contains(u"general"_qs));
  EXPECT_EQ(attached.OnDemand(), Schemas(4, 12));
  attached.Use(Schema(4), File(4));  // used again: now the most recent
  attached.Use(Schema(1), File(1));
  EXPECT_FALSE(attached.Contains(Schema(5)));
  EXPECT_EQ(Number(4), 4);
  EXPECT_EQ(Number(1), 1);
  // A file kept for good is no longer one to make room with.
  attached.Keep(Schema(1), File(1));
  EXPECT_EQ(attached.OnDemand(), Schemas(6, 12) + QStringList{Schema(4)});
}

TEST_F(AttachmentsTest, WhatTheStatementUsesIsNeverDetached) {
  Attachments& attached = main_->Attached();
  for (int file = 1; file <= 10; ++file) attached.Use(Schema(file), File(file), Schemas(1, file - 1));
  EXPECT_EQ(MessageOf([&] { attached.Use(Schema(11), File(11), Schemas(1, 10)); }),
            u"General SQL error\ntoo many attached databases - max 10"_qs);
  EXPECT_EQ(attached.OnDemand(), Schemas(1, 10));
  // Only the first two in use: the least recently used of the others goes.
  attached.Use(Schema(11), File(11), Schemas(1, 2));
  EXPECT_EQ(attached.OnDemand(), Schemas(1, 2) + Schemas(4, 11));
}

TEST_F(AttachmentsTest, ANameAttachedToAnotherFileTakesTheFileAskedFor) {
  Attachments& attached = main_->Attached();
  attached.Keep(u"EMPRESA"_qs, File(1));
  attached.Keep(u"EMPRESA"_qs, File(2));
  EXPECT_EQ(main_->QueryRows(u"SELECT N FROM EMPRESA.T"_qs).rows[0][0].toInt(), 2);
  attached.Use(Schema(3), File(3));
  attached.Use(Schema(3), File(4));
  EXPECT_EQ(Number(3), 4);
  EXPECT_EQ(attached.OnDemand(), QStringList{Schema(3)});
  main_->StartTransaction();
  attached.Use(Schema(3), File(4));
  EXPECT_THROW(attached.Use(Schema(3), File(5)), EDatabaseError);
  main_->Rollback();
}
