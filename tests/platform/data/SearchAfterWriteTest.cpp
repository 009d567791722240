#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace {

// Codigo 2, 4, ... 2 * kRecords: more records than a walk keeps read at
// once; Grupo is Codigo / 2 % 3, and the first record of every view below
// is in kGroup.
constexpr int kRecords = 40000;
constexpr int kGroup = 1;
constexpr int kHighest = 2 * kRecords + 1;
constexpr int kRangeStart = 2000;

struct TableKind {
  const char* name;
  const char* create;
  const char* codeIndex;
};
const TableKind kKinds[] = {
    {"keyed, without row ids",
     "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, Grupo INT, PRIMARY KEY (Codigo)) WITHOUT ROWID", ""},
    {"keyed, with row ids", "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, Grupo INT, PRIMARY KEY (Codigo))", ""},
    {"without a key", "CREATE TABLE T (Codigo INT, Nombre TEXT, Grupo INT)", "PorCodigo"},
};

enum class View { Whole, Range, MasterLink };
enum class Change { Append, AppendInTransaction, Insert, EditKey, Delete };
const std::pair<View, const char*> kViews[] = {
    {View::Whole, "the whole table"}, {View::Range, "a range"}, {View::MasterLink, "a master link"}};
const std::pair<Change, const char*> kChanges[] = {{Change::Append, "Append"},
                                                   {Change::AppendInTransaction, "Append in a transaction"},
                                                   {Change::Insert, "Insert"},
                                                   {Change::EditKey, "Edit of the key"},
                                                   {Change::Delete, "Delete"}};

QString nombreOf(int codigo) { return QStringLiteral("n%1").arg(codigo, 6, 10, QLatin1Char('0')); }

// The table T of a kind, kRecords of it, and GRUPOS, the master of its groups.
class Folder {
 public:
  explicit Folder(const TableKind& kind) : kind_(kind) {
    data_.Execute(QString::fromUtf8(kind.create) +
                  QStringLiteral("; CREATE INDEX T_PorCodigo ON T (Codigo); CREATE INDEX T_PorGrupo ON T (Grupo, Codigo); "
                                 "CREATE TABLE GRUPOS (Grupo INT NOT NULL, PRIMARY KEY (Grupo)); "
                                 "INSERT INTO GRUPOS VALUES (0), (1), (2); "
                                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                 "INSERT INTO T SELECT 2 * i, printf('n%06d', 2 * i), i % 3 FROM n")
                      .arg(kRecords));
  }
  const DataFixture& data() const { return data_; }
  const TableKind& kind() const { return kind_; }

 private:
  DataFixture data_;
  const TableKind& kind_;
};

struct WatchedTable : Table {
  using Dataset::Rows;
};

// T opened in a view, and the codes the view shows, in order.
class Scenario {
 public:
  Scenario(const Folder& folder, View view) : folder_(folder), view_(view) {
    for (int codigo = 2; codigo <= 2 * kRecords; codigo += 2)
      if (shows(codigo, (codigo / 2) % 3)) codes_.push_back(codigo);
    table_ = std::make_unique<WatchedTable>();
    table_->SetDatabaseName(folder.data().DatabaseName());
    table_->SetTableName(u"T"_qs);
    table_->SetIndexName(QString::fromUtf8(folder.kind().codeIndex));
    if (view == View::MasterLink) {
      groups_ = folder.data().OpenTable(u"GRUPOS"_qs);
      EXPECT_TRUE(groups_->FindKey({Int(kGroup)}));
      source_.SetDataSet(groups_.get());
      table_->SetIndexName(u"PorGrupo"_qs);
      table_->SetMasterFields(u"Grupo"_qs);
      table_->SetMasterSource(&source_);
    }
    table_->Open();
    if (view == View::Range) table_->SetRange({Int(kRangeStart)}, {Int(kHighest + 1)});
    middle_ = codes_[codes_.size() / 2];
    EXPECT_TRUE(table_->FindKey(KeyOf(middle_)));
    onMiddle_ = table_->GetBookmark();
    table_->First();
  }
  // The table as it was, for the next scenario.
  ~Scenario() {
    table_->Close();
    if (!undo_.isEmpty()) folder_.data().Execute(undo_);
  }

  WatchedTable& table() { return *table_; }
  std::shared_ptr<EngineConnection> connection() const { return folder_.data().Connection(); }
  const std::vector<int>& codes() const { return codes_; }
  int Middle() const { return middle_; }
  // Made before the write.
  const Bookmark& OnMiddle() const { return onMiddle_; }
  int codigo() const { return table_->FieldByName(u"Codigo"_qs).AsInteger(); }

  void Added(int codigo, const QString& undo) {
    codes_.insert(std::lower_bound(codes_.begin(), codes_.end(), codigo), codigo);
    undo_ = undo;
  }
  void Removed(int codigo, const QString& undo) {
    std::erase(codes_, codigo);
    undo_ = undo;
  }
  std::size_t RankOf(int codigo) const {
    return static_cast<std::size_t>(std::lower_bound(codes_.begin(), codes_.end(), codigo) - codes_.begin());
  }

  // The key of the current index that holds the code.
  QList<Variant> KeyOf(int codigo) const {
    return view_ == View::MasterLink ? QList<Variant>{Int(kGroup), Int(codigo)} : QList<Variant>{Int(codigo)};
  }

 private:
  bool shows(int codigo, int grupo) const {
    return view_ == View::Whole || (view_ == View::Range && codigo >= kRangeStart) ||
           (view_ == View::MasterLink && grupo == kGroup);
  }

  const Folder& folder_;
  View view_;
  std::vector<int> codes_;
  std::unique_ptr<Table> groups_;
  DataSource source_;
  std::unique_ptr<WatchedTable> table_;
  int middle_ = 0;
  Bookmark onMiddle_;
  QString undo_;
};

// The record the change leaves current: the one written, or the one after
// the record deleted.
int change(Scenario& scenario, Change change) {
  Table& table = scenario.table();
  const NamedValues added{{u"Codigo"_qs, Int(kHighest)}, {u"Nombre"_qs, Text(nombreOf(kHighest))},
                          {u"Grupo"_qs, Int(kGroup)}};
  const QString removeAdded = QStringLiteral("DELETE FROM T WHERE Codigo = %1");
  switch (change) {
    case Change::Append:
      AppendRecord(table, added);
      scenario.Added(kHighest, removeAdded.arg(kHighest));
      return kHighest;
    case Change::AppendInTransaction: {
      const std::shared_ptr<EngineConnection> connection = scenario.connection();
      connection->StartTransaction();
      AppendRecord(table, added);
      connection->Commit();
      scenario.Added(kHighest, removeAdded.arg(kHighest));
      return kHighest;
    }
    case Change::Insert: {
      const int codigo = scenario.codes()[scenario.codes().size() * 3 / 4] + 1;
      table.Insert();
      for (const auto& [name, value] : added) table.FieldByName(name).SetAsVariant(value);
      table.FieldByName(u"Codigo"_qs).SetAsInteger(codigo);
      table.Post();
      scenario.Added(codigo, removeAdded.arg(codigo));
      return codigo;
    }
    case Change::EditKey: {
      const int codigo = scenario.codigo();
      EditRecord(table, {{u"Codigo"_qs, Int(kHighest)}});
      scenario.Removed(codigo, QString());
      scenario.Added(kHighest, QStringLiteral("UPDATE T SET Codigo = %1 WHERE Codigo = %2").arg(codigo).arg(kHighest));
      return kHighest;
    }
    case Change::Delete: {
      const int removed = scenario.codes()[scenario.codes().size() * 3 / 4];
      EXPECT_TRUE(table.FindKey(scenario.KeyOf(removed)));
      table.Delete();
      scenario.Removed(removed, QStringLiteral("INSERT INTO T VALUES (%1, '%2', %3)")
                                    .arg(removed)
                                    .arg(nombreOf(removed))
                                    .arg(removed / 2 % 3));
      return scenario.codes()[scenario.RankOf(removed)];
    }
  }
  return 0;
}

// What is done first after the write, on the record the write left current.
struct Probe {
  const char* name;
  std::function<void(Scenario&, int current)> check;
};

const Probe kProbes[] = {
    {"Next and Prior across it",
     [](Scenario& scenario, int current) {
       Table& table = scenario.table();
       const std::vector<int>& codes = scenario.codes();
       const std::size_t rank = scenario.RankOf(current);
       EXPECT_EQ(table.RecNo(), static_cast<int>(rank) + 1);
       table.Prior();
       EXPECT_EQ(scenario.codigo(), codes[rank - 1]);
       table.Next();
       EXPECT_EQ(scenario.codigo(), current);
       table.Next();
       if (rank + 1 < codes.size())
         EXPECT_EQ(scenario.codigo(), codes[rank + 1]);
       else
         EXPECT_TRUE(table.Eof());
     }},
    {"FindKey",
     [](Scenario& scenario, int current) {
       const int quarter = scenario.codes()[scenario.codes().size() / 4];
       EXPECT_TRUE(scenario.table().FindKey(scenario.KeyOf(quarter)));
       EXPECT_EQ(scenario.codigo(), quarter);
       EXPECT_TRUE(scenario.table().FindKey(scenario.KeyOf(current)));
       EXPECT_EQ(scenario.codigo(), current);
     }},
    {"FindNearest",
     [](Scenario& scenario, int) {
       scenario.table().FindNearest(scenario.KeyOf(scenario.Middle() - 1));
       EXPECT_EQ(scenario.codigo(), scenario.Middle());
     }},
    {"Locate on the index",
     [](Scenario& scenario, int) {
       const int third = scenario.codes()[scenario.codes().size() / 3];
       EXPECT_TRUE(scenario.table().Locate(u"Codigo"_qs, Int(third)));
       EXPECT_EQ(scenario.codigo(), third);
     }},
    {"Locate on a field no index leads",
     [](Scenario& scenario, int) {
       const int quarter = scenario.codes()[scenario.codes().size() / 4];
       EXPECT_TRUE(scenario.table().Locate(u"Nombre"_qs, Text(nombreOf(quarter))));
       EXPECT_EQ(scenario.codigo(), quarter);
     }},
    {"GotoBookmark",
     [](Scenario& scenario, int current) {
       Table& table = scenario.table();
       const Bookmark onCurrent = table.GetBookmark();
       table.GotoBookmark(scenario.OnMiddle());
       EXPECT_EQ(scenario.codigo(), scenario.Middle());
       table.GotoBookmark(onCurrent);
       EXPECT_EQ(scenario.codigo(), current);
     }},
    {"RecordCount",
     [](Scenario& scenario, int) {
       EXPECT_EQ(scenario.table().RecordCount(), static_cast<int>(scenario.codes().size()));
       EXPECT_LT(scenario.table().Rows().size(), 100u) << "read the table";
     }},
};

}  // namespace

// Every search and move finds the records a write left beyond those read,
// in the order of the view, whatever it does first after the write.
TEST(SearchAfterWrite, SearchesBookmarksAndMovesFindEveryRecordAfterAWrite) {
  for (const TableKind& kind : kKinds) {
    const Folder folder(kind);
    for (const auto& [view, viewName] : kViews)
      for (const auto& [written, changeName] : kChanges)
        for (const Probe& probe : kProbes) {
          SCOPED_TRACE(
              QStringLiteral("%1, %2, %3: %4").arg(kind.name, viewName, changeName, probe.name).toStdString());
          Scenario scenario(folder, view);
          const int current = change(scenario, written);
          ASSERT_EQ(scenario.codigo(), current);
          probe.check(scenario, current);
        }
  }
}
