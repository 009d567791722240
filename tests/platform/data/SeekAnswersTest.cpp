// Searches by key against a plain sort of the records, on a table that is
// read in blocks from wherever a search starts: on the data folder (or
// through ODBC, as the environment chooses) and on the embedded server.

#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/SqlRouting.h"
#include "platform/data/Table.h"
#include "tests/platform/data/RecordsHelpers.h"
#include "tests/platform/data/ServerRoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>

namespace {

enum class Road { DataFolder, EmbeddedServer };

void PrintTo(Road road, std::ostream* out) { *out << (road == Road::EmbeddedServer ? "embedded server" : "data folder"); }

// SN (S, N), keyed S;N, with an index on N, on the road.
class SeekAnswers : public ::testing::TestWithParam<Road> {
 protected:
  void SetUp() override {
    if (GetParam() == Road::EmbeddedServer) {
      InstallServerRoad();
      SqlRouting::Login(server_.Path(), u"ZEM"_qs, QString());
      RunOnServer(server_.Path(), u"master"_qs, u"CREATE DATABASE BUSQUEDAS"_qs);
      Session::Default().AddAlias(u"BUSQUEDAS"_qs, QLatin1String(Session::kSqlServerDriver),
                                  ServerParams(server_.Path(), u"BUSQUEDAS"_qs));
    }
    auto table = newTable();
    table->FieldDefs().Add(u"S"_qs, ftString, 10);
    table->FieldDefs().Add(u"N"_qs, ftInteger);
    table->IndexDefs().Add(QString(), u"S;N"_qs, ixPrimary);
    table->IndexDefs().Add(u"PorN"_qs, u"N"_qs, 0);
    table->CreateTable();
  }

  QString databaseName() const {
    return GetParam() == Road::EmbeddedServer ? u"BUSQUEDAS"_qs : data_.DatabaseName();
  }
  std::unique_ptr<Table> newTable() const {
    auto table = std::make_unique<Table>();
    table->SetDatabaseName(databaseName());
    table->SetTableName(u"SN"_qs);
    return table;
  }
  void insert(const QStringList& rows) const {
    const QString sql = u"INSERT INTO SN (S, N) VALUES "_qs + rows.join(u", "_qs);
    if (GetParam() == Road::EmbeddedServer)
      RunOnServer(server_.Path(), u"BUSQUEDAS"_qs, sql);
    else
      data_.Execute(sql);
  }

  DataFixture data_;
  TemporaryFolder server_;
};

QString current(const Dataset& table) {
  if (table.IsEmpty()) return QString();
  return table.FieldByName(u"S"_qs).AsString() + u':' + table.FieldByName(u"N"_qs).AsString();
}

void setKey(Table& table, const QString& field, const Variant& value) {
  table.SetKey();
  table.FieldByName(field).SetAsVariant(value);
  table.Post();
}

// Sixty-three records of "b" and one of "c": more than the first block read.
TEST_P(SeekAnswers, ANearestSearchPastTheLastRecordLandsOnTheLast) {
  QStringList rows;
  for (int n = 1; n <= 63; ++n) rows << u"('b', %1)"_qs.arg(n);
  rows << u"('c', 64)"_qs;
  insert(rows);
  const std::pair<const char*, std::function<void(Table&)>> starts[] = {
      {"just opened", [](Table&) {}},
      {"after First", [](Table& table) { table.First(); }},
      {"after Last", [](Table& table) { table.Last(); }},
      {"in the middle", [](Table& table) { table.MoveBy(30); }},
      {"after a walk to the end",
       [](Table& table) {
         while (!table.Eof()) table.Next();
       }},
      {"after a key that is not there",
       [](Table& table) {
         const bool byNumber = table.IndexFields(0).FieldName() == u"N";
         EXPECT_FALSE(table.FindKey({byNumber ? Int(0) : Text(u"bb"_qs)}));
       }},
  };
  const struct {
    const char* name;
    const char16_t* index;
    std::function<void(Table&)> seek;
  } seeks[] = {
      {"FindNearest on S", u"", [](Table& table) { table.FindNearest({Text(u"d"_qs)}); }},
      {"FindNearest on S;N", u"", [](Table& table) { table.FindNearest({Text(u"c"_qs), Int(65)}); }},
      {"GotoNearest on S", u"",
       [](Table& table) {
         setKey(table, u"S"_qs, Text(u"d"_qs));
         table.GotoNearest();
       }},
      {"FindNearest on N", u"N", [](Table& table) { table.FindNearest({Int(65)}); }},
      {"GotoNearest on N", u"N",
       [](Table& table) {
         setKey(table, u"N"_qs, Int(1000));
         table.GotoNearest();
       }},
  };
  for (const auto& seek : seeks)
    for (const auto& [start, go] : starts) {
      const std::string what = std::string(seek.name) + ", " + start;
      auto table = newTable();
      table->SetIndexFieldNames(QString::fromUtf16(seek.index));
      table->Open();
      go(*table);
      seek.seek(*table);
      ASSERT_FALSE(table->IsEmpty()) << what;
      EXPECT_EQ(current(*table), u"c:64"_qs) << what;
      EXPECT_EQ(table->RecordCount(), 64) << what;
      EXPECT_EQ(table->RecNo(), 64) << what;
      table->Prior();
      EXPECT_EQ(current(*table), u"b:63"_qs) << what;
      EXPECT_FALSE(table->Bof()) << what;
      table->Last();
      EXPECT_EQ(current(*table), u"c:64"_qs) << what;
      seek.seek(*table);
      int seen = 0;
      for (table->First(); !table->Eof(); table->Next()) ++seen;
      EXPECT_EQ(seen, 64) << what;
      EXPECT_EQ(current(*table), u"c:64"_qs) << what;
    }
}

// Records 1 to 300 of "b", a filter the engine cannot evaluate showing some;
// a filter turned wild would read on for ever, so it gives up after many
// records and shows them all.
class FilteredGaps {
 public:
  explicit FilteredGaps(Table& table, std::function<bool(int)> shows) {
    table.OnFilterRecord = [this, shows = std::move(shows)](Dataset& dataset, bool& accept) {
      accept = ++asked_ > 50000 || shows(dataset.FieldByName(u"N"_qs).AsInteger());
    };
    table.SetFiltered(true);
  }

 private:
  int asked_ = 0;
};

TEST_P(SeekAnswers, ASearchOrAWalkBackCrossesRecordsTheFilterHides) {
  QStringList rows;
  for (int n = 1; n <= 300; ++n) rows << u"('b', %1)"_qs.arg(n);
  insert(rows);
  {
    auto table = newTable();
    const FilteredGaps gaps(*table, [](int n) { return n <= 100; });
    table->Open();
    table->FindNearest({Text(u"c"_qs)});
    EXPECT_EQ(current(*table), u"b:100"_qs) << "nearest past the end";
    table->First();
    table->Last();
    EXPECT_EQ(current(*table), u"b:100"_qs) << "last";
  }
  auto table = newTable();
  const FilteredGaps gaps(*table, [](int n) { return n <= 100 || n >= 290; });
  table->Open();
  table->FindNearest({Text(u"b"_qs), Int(290)});
  ASSERT_EQ(current(*table), u"b:290"_qs);
  table->Prior();
  EXPECT_EQ(current(*table), u"b:100"_qs) << "back over the hidden ones";
  EXPECT_FALSE(table->Bof());
  table->Close();
  const FilteredGaps others(*table, [](int n) { return (n >= 1 && n <= 100) || n == 300; });
  table->Open();
  table->Last();
  ASSERT_EQ(current(*table), u"b:300"_qs);
  table->Edit();
  table->FieldByName(u"N"_qs).SetAsInteger(0);
  table->Post();
  EXPECT_EQ(current(*table), u"b:100"_qs) << "the last record edited out of the view";
  EXPECT_EQ(table->RecordCount(), 100);
}

// The records read from the end go one by one; those before them come in.
TEST_P(SeekAnswers, DeletingTheLastRecordsReadFromTheEndReachesTheOnesBefore) {
  QStringList rows;
  for (int n = 1; n <= 200; ++n) rows << u"('b', %1)"_qs.arg(n);
  insert(rows);
  const std::pair<const char*, std::function<void(Table&)>> ends[] = {
      {"Last", [](Table& table) { table.Last(); }},
      {"FindNearest past the end", [](Table& table) { table.FindNearest({Text(u"c"_qs)}); }},
  };
  for (const auto& [name, go] : ends) {
    auto table = newTable();
    table->Open();
    go(*table);
    const int left = table->RecordCount() - 70;
    for (int deleted = 0; deleted < 70; ++deleted) table->Delete();
    ASSERT_FALSE(table->IsEmpty()) << name;
    EXPECT_EQ(current(*table), u"b:%1"_qs.arg(left)) << name;
    EXPECT_EQ(table->RecNo(), left) << name;
    table->Edit();
    table->FieldByName(u"S"_qs).SetAsString(u"a"_qs);
    table->Post();
    EXPECT_EQ(current(*table), u"a:%1"_qs.arg(left)) << name;
    EXPECT_EQ(table->RecordCount(), left) << name;
    table->Edit();
    table->FieldByName(u"S"_qs).SetAsString(u"b"_qs);
    table->Post();
  }
}

struct Record {
  std::string s;
  int n;
  QString Shown() const { return QString::fromStdString(s) + u':' + QString::number(n); }
};

// Random keys, random searches from random places, each answer checked
// against the records sorted in the index's order.
TEST_P(SeekAnswers, EverySearchAnswersAsASortOfTheRecords) {
  std::mt19937 random(6700 + static_cast<int>(GetParam()));
  const auto pick = [&random](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
  const auto someText = [&] {
    std::string text(1, char('a' + pick(6)));
    if (pick(2)) text += char('a' + pick(6));
    return text;
  };
  std::set<std::pair<std::string, int>> keys;
  while (keys.size() < 1200) keys.insert({someText(), pick(60)});
  std::vector<Record> byKey;
  QStringList rows;
  for (const auto& [s, n] : keys) {
    byKey.push_back({s, n});
    rows << u"('%1', %2)"_qs.arg(QString::fromStdString(s)).arg(n);
    if (rows.size() == 300) insert(std::exchange(rows, {}));
  }
  std::vector<Record> byN = byKey;
  std::stable_sort(byN.begin(), byN.end(), [](const Record& a, const Record& b) { return a.n < b.n; });

  // The first record of the order for which `before` is false, else the last.
  const auto nearest = [](const std::vector<Record>& order, const std::function<bool(const Record&)>& before) {
    const auto found = std::find_if_not(order.begin(), order.end(), before);
    return (found == order.end() ? order.back() : *found).Shown();
  };
  const auto firstWhere = [](const std::vector<Record>& order, const std::function<bool(const Record&)>& holds) {
    const auto found = std::find_if(order.begin(), order.end(), holds);
    return found == order.end() ? QString() : found->Shown();
  };
  const auto upper = [](const std::string& text) { return QString::fromStdString(text).toUpper(); };

  auto table = newTable();
  table->Open();
  bool byNumber = false;
  for (int step = 0; step < 1000; ++step) {
    if (pick(8) == 0) {
      byNumber = !byNumber;
      table->SetIndexFieldNames(byNumber ? u"N"_qs : QString());
    }
    switch (pick(5)) {
      case 0: table->First(); break;
      case 1: table->Last(); break;
      case 2: table->MoveBy(pick(3000) - 1500); break;
      case 3: table->FindNearest({byNumber ? Int(pick(70)) : Text(QString::fromStdString(someText()))}); break;
      default: break;
    }
    const QString before = current(*table);
    const std::vector<Record>& order = byNumber ? byN : byKey;
    const std::string s = someText();
    const int n = pick(70);
    const std::string what = "step " + std::to_string(step) + (byNumber ? " by N" : " by S;N") + ", S " + s +
                             ", N " + std::to_string(n) + ", from " + before.toStdString();
    const auto expectMove = [&](bool found, const QString& expected, const char* search) {
      EXPECT_EQ(current(*table), found ? expected : before) << search << ", " << what;
      EXPECT_EQ(found, !expected.isEmpty()) << search << ", " << what;
    };
    switch (pick(6) + (byNumber ? 10 : 0)) {
      case 0: {
        const bool found = table->FindKey({Text(QString::fromStdString(s))});
        expectMove(found, firstWhere(order, [&](const Record& r) { return r.s == s; }), "FindKey on S");
        break;
      }
      case 1: {
        table->SetKey();
        table->FieldByName(u"S"_qs).SetAsString(QString::fromStdString(s));
        table->FieldByName(u"N"_qs).SetAsInteger(n);
        table->Post();
        const bool found = table->GotoKey();
        expectMove(found, firstWhere(order, [&](const Record& r) { return r.s == s && r.n == n; }), "GotoKey");
        break;
      }
      case 2:
        table->FindNearest({Text(QString::fromStdString(s))});
        EXPECT_EQ(current(*table), nearest(order, [&](const Record& r) { return r.s < s; })) << "FindNearest on S, " << what;
        break;
      case 3:
        table->SetKey();
        table->FieldByName(u"S"_qs).SetAsString(QString::fromStdString(s));
        table->FieldByName(u"N"_qs).SetAsInteger(n);
        table->Post();
        table->GotoNearest();
        EXPECT_EQ(current(*table), nearest(order, [&](const Record& r) { return r.s < s || (r.s == s && r.n < n); }))
            << "GotoNearest, " << what;
        break;
      case 4: {
        const bool found = table->Locate(u"N"_qs, Int(n));
        expectMove(found, firstWhere(order, [&](const Record& r) { return r.n == n; }), "Locate on N");
        break;
      }
      case 5: {
        const std::string to = someText();
        const std::string& from = std::min(s, to);
        const std::string& upto = std::max(s, to);
        table->SetRange({Text(QString::fromStdString(from))}, {Text(QString::fromStdString(upto))});
        const auto inRange = [&](const Record& r) { return r.s >= from && r.s <= upto; };
        const auto count = std::count_if(order.begin(), order.end(), inRange);
        EXPECT_EQ(table->RecordCount(), count) << "range to " << to << ", " << what;
        EXPECT_EQ(current(*table), firstWhere(order, inRange)) << "range to " << to << ", " << what;
        table->FindNearest({Text(QString::fromStdString(upto + "z"))});
        const auto last = std::find_if(order.rbegin(), order.rend(), inRange);
        EXPECT_EQ(current(*table), last == order.rend() ? QString() : last->Shown())
            << "nearest past the range to " << to << ", " << what;
        table->CancelRange();
        break;
      }
      case 10: {
        const bool found = table->FindKey({Int(n)});
        expectMove(found, firstWhere(order, [&](const Record& r) { return r.n == n; }), "FindKey on N");
        break;
      }
      case 11:
      case 12:
        table->FindNearest({Int(n)});
        EXPECT_EQ(current(*table), nearest(order, [&](const Record& r) { return r.n < n; })) << "FindNearest on N, " << what;
        break;
      case 13: {
        const bool found = table->Locate(u"S"_qs, Text(upper(s)), loCaseInsensitive);
        expectMove(found, firstWhere(order, [&](const Record& r) { return r.s == s; }), "Locate on S");
        break;
      }
      case 14: {
        const bool found = table->Locate(u"N;S"_qs, Variant::Array({Int(n), Text(QString::fromStdString(s))}));
        expectMove(found, firstWhere(order, [&](const Record& r) { return r.s == s && r.n == n; }), "Locate on N;S");
        break;
      }
      default: {
        const int to = pick(70);
        table->SetRange({Int(std::min(n, to))}, {Int(std::max(n, to))});
        const auto inRange = [&](const Record& r) { return r.n >= std::min(n, to) && r.n <= std::max(n, to); };
        EXPECT_EQ(table->RecordCount(), std::count_if(order.begin(), order.end(), inRange)) << "range, " << what;
        table->Last();
        const auto last = std::find_if(order.rbegin(), order.rend(), inRange);
        EXPECT_EQ(current(*table), last == order.rend() ? QString() : last->Shown()) << "range's last, " << what;
        table->CancelRange();
        break;
      }
    }
    if (HasFailure()) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Folder, SeekAnswers, ::testing::Values(Road::DataFolder));
INSTANTIATE_TEST_SUITE_P(Server, SeekAnswers, ::testing::Values(Road::EmbeddedServer));

}  // namespace
