#include "tests/platform/data/BookmarkSequences.h"

#include "platform/data/Field.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

void append(Table& table, const QString& key, int v) {
  AppendRecord(table, {{u"A"_qs, Text(key)}, {u"V"_qs, Int(v)}});
}

void editKey(Table& table, const QString& key) { EditRecord(table, {{u"A"_qs, Text(key)}}); }

QString shown(const Table& table) {
  return table.FieldByName(u"A"_qs).AsString() + u':' + table.FieldByName(u"V"_qs).AsString();
}

}  // namespace

void ExpectBookmarksFollowTheirRecordThroughKeyEdits(const OpenTableT& open) {
  {
    SCOPED_TRACE("key edited, the record deleted, its first key given to another");
    auto table = open();
    append(*table, u"5"_qs, 1);
    const Bookmark mark = table->GetBookmark();
    editKey(*table, u"4301"_qs);
    table->Delete();
    append(*table, u"5"_qs, 2);
    EXPECT_FALSE(table->BookmarkValid(mark));
    EXPECT_EQ(EngineMessageOf([&] { table->GotoBookmark(mark); }), u"Record/Key deleted"_qs);
    EXPECT_EQ(shown(*table), u"5:2"_qs);
    auto other = open();
    EXPECT_FALSE(other->BookmarkValid(mark));
  }
  {
    SCOPED_TRACE("key edited, its first key given to another record, that one deleted");
    auto table = open();
    table->EmptyTable();
    append(*table, u"5"_qs, 1);
    const Bookmark mark = table->GetBookmark();
    editKey(*table, u"6"_qs);
    append(*table, u"5"_qs, 2);
    ASSERT_TRUE(table->Locate(u"V"_qs, Int(2)));
    table->Delete();
    ASSERT_TRUE(table->BookmarkValid(mark));
    table->First();
    table->GotoBookmark(mark);
    EXPECT_EQ(shown(*table), u"6:1"_qs);
    auto other = open();
    ASSERT_TRUE(other->BookmarkValid(mark));
    other->GotoBookmark(mark);
    EXPECT_EQ(shown(*other), u"6:1"_qs);
  }
}
