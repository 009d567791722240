#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/platform/data/BookmarkSequences.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <vector>

namespace {

const char* const kTables[] = {
    "CREATE TABLE T (A INT NOT NULL, V INT, PRIMARY KEY (A)) WITHOUT ROWID",
    "CREATE TABLE T (A TEXT NOT NULL, V INT, PRIMARY KEY (A)) WITHOUT ROWID",
    "CREATE TABLE T (A INT NOT NULL, V INT, PRIMARY KEY (A))",
};

OpenTableT tableOf(const DataFixture& data) {
  return [&data] { return data.OpenTable(u"T"_qs); };
}

}  // namespace

TEST(TableBookmarks, ABookmarkFollowsItsRecordThroughKeyEditsAndMarksNoOther) {
  for (const char* create : kTables) {
    SCOPED_TRACE(create);
    DataFixture data;
    data.Execute(QString::fromUtf8(create));
    ExpectBookmarksFollowTheirRecordThroughKeyEdits(tableOf(data));
  }
}

// Records appended, given other keys and deleted at random, keys taken from
// a few so that they come back often; every bookmark taken is checked
// against what it marked: valid and landing on that record while it is in
// the file, invalid once it is gone, on its own dataset and another.
TEST(TableBookmarks, RandomKeyEditsAndDeletionsLeaveEveryBookmarkOnItsOwnRecord) {
  for (const char* create : kTables) {
    SCOPED_TRACE(create);
    DataFixture data;
    data.Execute(QString::fromUtf8(create));
    auto table = data.OpenTable(u"T"_qs);
    std::mt19937 random{75001};
    std::map<int, int> keyOf;  // V -> A of the records in the file
    struct Mark {
      Bookmark bookmark;
      int v;
    };
    std::vector<Mark> marks;
    const auto freeKey = [&] {
      for (;;) {
        const int key = static_cast<int>(random() % 24) + 1;
        if (std::none_of(keyOf.begin(), keyOf.end(), [key](const auto& record) { return record.second == key; }))
          return key;
      }
    };
    const auto someRecord = [&] {
      auto record = keyOf.begin();
      std::advance(record, static_cast<long>(random() % keyOf.size()));
      return record->first;
    };
    const auto check = [&](Table& dataset, const char* which) {
      for (const Mark& mark : marks) {
        const bool alive = keyOf.contains(mark.v);
        ASSERT_EQ(dataset.BookmarkValid(mark.bookmark), alive) << which << " V=" << mark.v;
        if (!alive) continue;
        dataset.GotoBookmark(mark.bookmark);
        ASSERT_EQ(dataset.FieldByName(u"V"_qs).AsInteger(), mark.v) << which;
        ASSERT_EQ(dataset.FieldByName(u"A"_qs).AsInteger(), keyOf.at(mark.v)) << which;
      }
    };
    int nextV = 1;
    for (int step = 0; step < 240; ++step) {
      const unsigned action = keyOf.size() < 3 ? 0 : random() % 4;
      if (action == 0 && keyOf.size() < 20) {
        const int key = freeKey();
        AppendRecord(*table, {{u"A"_qs, Int(key)}, {u"V"_qs, Int(nextV)}});
        keyOf[nextV++] = key;
      } else if (action <= 1) {
        const int v = someRecord();
        ASSERT_TRUE(table->Locate(u"V"_qs, Int(v)));
        const int key = freeKey();
        EditRecord(*table, {{u"A"_qs, Int(key)}});
        keyOf[v] = key;
      } else if (action == 2) {
        const int v = someRecord();
        ASSERT_TRUE(table->Locate(u"V"_qs, Int(v)));
        table->Delete();
        keyOf.erase(v);
      } else {
        const int v = someRecord();
        ASSERT_TRUE(table->Locate(u"V"_qs, Int(v)));
        marks.push_back({table->GetBookmark(), v});
        if (marks.size() > 24) marks.erase(marks.begin());
      }
      if (step % 8 == 7) {
        check(*table, "its own dataset");
        auto other = data.OpenTable(u"T"_qs);
        check(*other, "another dataset");
      }
    }
    EXPECT_GT(nextV, 40);
  }
}
