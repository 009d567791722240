#include "platform/sql/SqlError.h"
#include "platform/sql/SqlMapper.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>

// Random UPDATE and DELETE ... FROM statements over random schemas, each
// against the SELECT of its own FROM and WHERE written by hand for SQLite:
// every chain of joins after a comma in parentheses, as T-SQL groups it, and
// each table read with the row identity the test knows (its key, or its
// rowid under a name its columns leave free). The statement must change
// exactly the rows of its target that the SELECT brings, or, with TOP (n),
// n of them; a target that names two instances must be refused unchanged.

namespace {

using Ids = std::set<QString>;

constexpr int kTablesPerSchema = 4;
constexpr int kMarker = 77;  // no row holds it before an UPDATE sets it

enum class Keying { Single, Composite, None, UniqueOnly };

struct TableShape {
  QString name;
  Keying keying = Keying::Single;
  QStringList extra;  // columns named as SQLite's row ids
  QString rowId;      // the free name of SQLite's row id, for a table without a key

  QStringList Key() const {
    if (keying == Keying::Single) return {u"K1"_qs};
    if (keying == Keying::Composite) return {u"K1"_qs, u"K2"_qs};
    return {};
  }
  // The identity of a row as the oracle's SQL reads it from an instance.
  QString Identity(const QString& instance) const {
    if (Key().isEmpty()) return instance + u".zz_id"_qs;
    QStringList parts;
    for (const QString& column : Key()) parts << u"CAST("_qs + instance + u'.' + column + u" AS TEXT)"_qs;
    return parts.join(u" || '/' || "_qs);
  }
};

// A table of the FROM as written, and as the oracle reads it.
struct Item {
  int table = 0;
  QString alias;  // empty: known by its table's name
};

class Generator {
 public:
  Generator(std::mt19937& random, const std::vector<TableShape>& tables, const QString& database)
      : random_(random), tables_(tables), database_(database) {}

  struct Statement {
    QString text;       // T-SQL
    QString oracle;     // SELECT DISTINCT identity ... for SQLite
    int target = 0;     // the table whose rows change
    bool update = false;
    std::optional<int> top;
    QString error;      // the refusal expected
  };

  Statement Next() {
    items_.clear();
    budget_ = Pick(2, 4);
    Statement statement;
    statement.update = Chance(50);
    // The FROM: chains of joins between commas.
    QStringList written, read;
    const int chains = Pick(1, 3);
    for (int c = 0; c < chains && budget_ > 0; ++c) {
      auto [text, oracle] = Chain();
      written << text;
      // SQLite shows no name of a lone table in parentheses.
      read << (oracle.contains(u" JOIN "_qs) ? u'(' + oracle + u')' : oracle);
    }
    // The target: an instance of the FROM however it is spelled, or a table of its own.
    std::optional<size_t> bound;
    QString targetText;
    int targetTable = 0;
    std::set<int> used;
    for (const Item& item : items_) used.insert(item.table);
    const bool outside = used.size() < tables_.size() && Chance(12);
    if (outside) {
      do targetTable = Pick(0, kTablesPerSchema - 1);
      while (used.count(targetTable));
      targetText = TableSpelling(targetTable);
    } else {
      const size_t k = size_t(Pick(0, int(items_.size()) - 1));
      targetTable = items_[k].table;
      if (!items_[k].alias.isEmpty() && Chance(60)) {
        targetText = Chance(50) ? items_[k].alias : items_[k].alias.toUpper();
        bound = k;
      } else {
        targetText = TableSpelling(targetTable);
        std::vector<size_t> instances;
        for (size_t i = 0; i < items_.size(); ++i)
          if (items_[i].table == targetTable) instances.push_back(i);
        const auto plain = std::find_if(instances.begin(), instances.end(),
                                        [&](size_t i) { return items_[i].alias.isEmpty(); });
        if (plain != instances.end()) bound = *plain;
        else if (instances.size() == 1) bound = instances[0];
        else statement.error = u"The table '%1' is ambiguous."_qs.arg(LastName(targetText));
      }
    }
    statement.target = targetTable;
    // The WHERE sees every instance, and the target of its own by its name.
    std::vector<QString> visible;
    for (const Item& item : items_) visible.push_back(Exposed(item));
    if (outside) visible.push_back(tables_[size_t(targetTable)].name);
    const QString where = Where(visible);

    const TableShape& shape = tables_[size_t(targetTable)];
    QString head;
    if (statement.update) {
      const bool qualified = !targetText.contains(u'.') && Chance(30);
      head = u"UPDATE "_qs + targetText + u" SET "_qs + (qualified ? targetText + u'.' : QString()) + u"A = "_qs +
             QString::number(kMarker);
    } else {
      if (Chance(30)) statement.top = Pick(1, 3);
      head = u"DELETE "_qs + (statement.top ? u"TOP (%1) "_qs.arg(*statement.top) : QString()) +
             (Chance(20) ? u"FROM "_qs : QString()) + targetText;
    }
    statement.text = head + u" FROM "_qs + written.join(u", "_qs) + where;
    if (outside) read.prepend(Read(Item{targetTable, {}}));
    const QString instance = outside ? shape.name : bound ? Exposed(items_[*bound]) : QString();
    if (statement.error.isEmpty())
      statement.oracle = u"SELECT DISTINCT "_qs + shape.Identity(instance) + u" FROM "_qs + read.join(u", "_qs) +
                         where;
    return statement;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(int percent) { return Pick(1, 100) <= percent; }

  static QString Exposed(const Item& item, const std::vector<TableShape>& tables) {
    return item.alias.isEmpty() ? tables[size_t(item.table)].name : item.alias;
  }
  QString Exposed(const Item& item) const { return Exposed(item, tables_); }

  static QString LastName(const QString& spelled) {
    QString last = spelled.section(u'.', -1);
    if (last.startsWith(u'[')) last = last.mid(1, last.size() - 2);
    return last;
  }

  // A table's name in one of the ways T-SQL lets it be written.
  QString TableSpelling(int table) {
    const QString& name = tables_[size_t(table)].name;
    const QString cased = Chance(50) ? name : name.toLower();
    switch (Pick(0, 6)) {
      case 0: return u"dbo."_qs + cased;
      case 1: return u'[' + cased + u']';
      case 2: return u"[dbo].["_qs + cased + u']';
      case 3: return database_ + u".dbo."_qs + cased;
      case 4: return database_.toLower() + u".."_qs + cased;
      case 5: return u'[' + database_ + u"].[dbo].["_qs + cased + u']';
      default: return cased;
    }
  }

  // The oracle reads a table without a key with its row id shown.
  QString Read(const Item& item) const {
    const TableShape& shape = tables_[size_t(item.table)];
    const QString exposed = Exposed(item);
    if (!shape.Key().isEmpty()) return u"main."_qs + shape.name + u" AS "_qs + exposed;
    return u"(SELECT "_qs + shape.rowId + u" AS zz_id, * FROM main."_qs + shape.name + u") AS "_qs + exposed;
  }

  // A new instance: aliased, unless its table has none in the FROM yet.
  std::pair<QString, QString> NewItem(std::vector<QString>& scope) {
    --budget_;
    Item item{Pick(0, kTablesPerSchema - 1), {}};
    const bool taken =
        std::any_of(items_.begin(), items_.end(), [&](const Item& other) { return other.table == item.table; });
    if (taken || Chance(60)) item.alias = u"a"_qs + QString::number(items_.size());
    items_.push_back(item);
    scope.push_back(Exposed(item));
    QString text = TableSpelling(item.table);
    if (!item.alias.isEmpty()) text += (Chance(50) ? u" AS "_qs : u" "_qs) + item.alias;
    return {text, Read(item)};
  }

  QString Column(const QString& instance) {
    static const QString kColumns[] = {u"K1"_qs, u"A"_qs, u"B"_qs};
    return instance + u'.' + kColumns[Pick(0, 2)];
  }
  QString Any(const std::vector<QString>& scope) { return scope[size_t(Pick(0, int(scope.size()) - 1))]; }

  QString JoinWord() {
    static const QString kJoins[] = {u"JOIN"_qs, u"INNER JOIN"_qs, u"LEFT JOIN"_qs, u"LEFT OUTER JOIN"_qs,
                                     u"RIGHT JOIN"_qs, u"RIGHT OUTER JOIN"_qs, u"FULL JOIN"_qs, u"FULL OUTER JOIN"_qs,
                                     u"CROSS JOIN"_qs};
    return kJoins[Pick(0, 8)];
  }

  // The condition of a join between what the chain has so far and its new part.
  QString On(const std::vector<QString>& left, const std::vector<QString>& right) {
    QString on = Column(Any(left)) + u" = "_qs + Column(Any(right));
    if (Chance(30)) on += u" AND "_qs + Column(Any(right)) + u" > "_qs + QString::number(Pick(0, 1));
    if (Chance(15)) on += u" OR "_qs + Column(Any(left)) + u" IS NULL"_qs;
    return on;
  }

  // One table, or a parenthesised join of two.
  std::pair<QString, QString> Factor(std::vector<QString>& scope) {
    if (budget_ >= 2 && Chance(20)) {
      std::vector<QString> left, right;
      auto [a, readA] = NewItem(left);
      auto [b, readB] = NewItem(right);
      const QString join = JoinWord();
      const QString on = join == u"CROSS JOIN" ? QString() : u" ON "_qs + On(left, right);
      scope.insert(scope.end(), left.begin(), left.end());
      scope.insert(scope.end(), right.begin(), right.end());
      return {u'(' + a + u' ' + join + u' ' + b + on + u')', u'(' + readA + u' ' + join + u' ' + readB + on + u')'};
    }
    return NewItem(scope);
  }

  std::pair<QString, QString> Chain() {
    std::vector<QString> scope;
    auto [text, oracle] = Factor(scope);
    while (budget_ > 0 && Chance(65)) {
      std::vector<QString> right;
      auto [part, read] = Factor(right);
      const QString join = JoinWord();
      const QString on = join == u"CROSS JOIN" ? QString() : u" ON "_qs + On(scope, right);
      text += u' ' + join + u' ' + part + on;
      oracle += u' ' + join + u' ' + read + on;
      scope.insert(scope.end(), right.begin(), right.end());
    }
    return {text, oracle};
  }

  QString Predicate(const std::vector<QString>& visible) {
    const QString subquery = tables_[size_t(Pick(0, kTablesPerSchema - 1))].name;
    switch (Pick(0, 6)) {
      case 0: return Column(Any(visible)) + u" = "_qs + Column(Any(visible));
      case 1: return Column(Any(visible)) + (Chance(50) ? u" IS NULL"_qs : u" IS NOT NULL"_qs);
      case 2: return Column(Any(visible)) + u" > "_qs + QString::number(Pick(0, 2));
      case 3: return Column(Any(visible)) + u" <> "_qs + QString::number(Pick(0, 2));
      case 4:
        return Column(Any(visible)) + u" IN (SELECT "_qs + Column(u"sq"_qs) + u" FROM "_qs + subquery +
               u" sq WHERE "_qs + Column(u"sq"_qs) + u" <= "_qs + Column(Any(visible)) + u')';
      case 5:
        return (Chance(50) ? u"NOT "_qs : QString()) + u"EXISTS (SELECT 1 FROM "_qs + subquery + u" sq WHERE "_qs +
               Column(u"sq"_qs) + u" = "_qs + Column(Any(visible)) + u')';
      default:
        return u'(' + Column(Any(visible)) + u" = "_qs + QString::number(Pick(0, 2)) + u" OR "_qs +
               Column(Any(visible)) + u" IS NULL)"_qs;
    }
  }

  QString Where(const std::vector<QString>& visible) {
    const int count = Pick(0, 3);
    QStringList predicates;
    for (int i = 0; i < count; ++i) predicates << Predicate(visible);
    return predicates.isEmpty() ? QString() : u" WHERE "_qs + predicates.join(u" AND "_qs);
  }

  std::mt19937& random_;
  const std::vector<TableShape>& tables_;
  QString database_;
  std::vector<Item> items_;
  int budget_ = 0;  // instances the FROM may still take
};

class UpdateFromDifferential : public ::testing::TestWithParam<unsigned> {
 protected:
  static constexpr int kSchemas = 10;
  static constexpr int kStatementsPerSchema = 125;

  UpdateFromDifferential() : client_(folder_.Path()) {
    client_.Run(u"CREATE DATABASE ZEMD"_qs);
    client_.Run(u"USE ZEMD"_qs);
  }

  std::vector<TableShape> MakeSchema(std::mt19937& random, int round) {
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::vector<TableShape> tables;
    for (int t = 0; t < kTablesPerSchema; ++t) {
      TableShape shape;
      shape.name = u"T%1_%2"_qs.arg(round).arg(t);
      shape.keying = Keying((t + round) % 4);
      QStringList names = {u"RowId"_qs, u"_rowid_"_qs, u"oid"_qs};
      std::shuffle(names.begin(), names.end(), random);
      shape.extra = names.mid(0, pick(0, 2));
      for (const QString& candidate : {u"rowid"_qs, u"_rowid_"_qs, u"oid"_qs})
        if (!shape.extra.contains(candidate, Qt::CaseInsensitive)) {
          shape.rowId = candidate;
          break;
        }
      QString columns = u"K1 INTEGER %1, K2 INTEGER NOT NULL, A INTEGER NULL, B INTEGER NULL"_qs.arg(
          shape.keying == Keying::None ? u"NULL"_qs : u"NOT NULL"_qs);
      for (const QString& extra : shape.extra) columns += u", ["_qs + extra + u"] INTEGER NULL"_qs;
      if (shape.keying == Keying::Single) columns += u", CONSTRAINT %1_Clave PRIMARY KEY (K1)"_qs.arg(shape.name);
      if (shape.keying == Keying::Composite) columns += u", CONSTRAINT %1_Clave PRIMARY KEY (K1, K2)"_qs.arg(shape.name);
      if (shape.keying == Keying::UniqueOnly) columns += u", CONSTRAINT %1_Unico UNIQUE (K1)"_qs.arg(shape.name);
      client_.Run(u"CREATE TABLE dbo.%1 (%2)"_qs.arg(shape.name, columns));
      // Rows of small values, so that joins meet; a table without a key has twins.
      const int rows = pick(2, 5);
      auto value = [&] { return pick(0, 4) == 0 ? u"NULL"_qs : QString::number(pick(0, 2)); };
      QStringList inserted;
      for (int r = 0; r < rows; ++r) {
        const bool twin = shape.keying == Keying::None && r > 0 && pick(0, 3) == 0;
        QString row = twin ? inserted.back()
                           : u"%1, %2, %3, %4"_qs.arg(shape.keying == Keying::None ? value() : QString::number(
                                                          shape.keying == Keying::Composite ? r / 2 : r))
                                 .arg(shape.keying == Keying::Composite ? r % 2 : pick(0, 1))
                                 .arg(value(), value());
        inserted << row;
        for (qsizetype e = 0; e < shape.extra.size(); ++e) row += u", "_qs + value();
        QString names = u"K1, K2, A, B"_qs;
        for (const QString& extra : shape.extra) names += u", \""_qs + extra + u'"';
        client_.Connection().Execute(u"INSERT INTO main.%1 (%2) VALUES (%3)"_qs.arg(shape.name, names, row));
      }
      tables.push_back(shape);
    }
    return tables;
  }

  // Every row of the table by its identity, with its value of A.
  std::map<QString, QList<QVariant>> RowsOf(const TableShape& shape) {
    const QString identity = shape.Key().isEmpty() ? shape.rowId : shape.Identity(u"t"_qs);
    std::map<QString, QList<QVariant>> rows;
    for (const QVariantList& row :
         client_.Connection().QueryRows(u"SELECT %1, A FROM main.%2 AS t"_qs.arg(identity, shape.name)).rows)
      rows[row[0].toString()].append(row[1]);
    return rows;
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

}  // namespace

TEST_P(UpdateFromDifferential, ChangesExactlyTheRowsItsSelectBrings) {
  std::mt19937 random(GetParam());
  Connection& connection = client_.Connection();
  const SqlMapper mapper(SqlContext::ForConnection(connection, u"mm/dd/yyyy"_qs));
  int mismatches = 0, changing = 0, refused = 0, checked = 0;
  for (int round = 0; round < kSchemas; ++round) {
    const std::vector<TableShape> tables = MakeSchema(random, round + int(GetParam()) * kSchemas);
    Generator generator(random, tables, u"ZEMD"_qs);
    for (int n = 0; n < kStatementsPerSchema; ++n) {
      const Generator::Statement statement = generator.Next();
      const TableShape& target = tables[size_t(statement.target)];
      Ids expected;
      if (statement.error.isEmpty()) {
        SqlRows selected;
        try {
          selected = connection.QueryRows(statement.oracle);
        } catch (const EDatabaseError& failure) {
          FAIL() << "the oracle fails: " << statement.oracle.toStdString() << '\n' << failure.what();
        }
        for (const QVariantList& row : selected.rows)
          if (!row[0].isNull()) expected.insert(row[0].toString());
      }
      const auto before = RowsOf(target);
      connection.Execute(u"SAVEPOINT zz_statement"_qs);
      QString error;
      try {
        connection.Execute(mapper.Map(statement.text));
      } catch (const EDatabaseError& failure) {
        error = failure.DriverMessage().isEmpty() ? failure.EngineMessage() : failure.DriverMessage();
      }
      const auto after = RowsOf(target);
      connection.Execute(u"ROLLBACK TO zz_statement"_qs);
      connection.Execute(u"RELEASE zz_statement"_qs);
      ++checked;

      // The rows the statement changed: gone, or holding the marker.
      Ids changed;
      for (const auto& [id, values] : before) {
        const auto now = after.find(id);
        if (now == after.end()) changed.insert(id);
        else if (now->second != values) changed.insert(id);
      }
      for (const auto& [id, values] : after)
        if (!before.count(id)) changed.insert(u"new "_qs + id);
      bool right = error == statement.error;
      if (right && statement.error.isEmpty()) {
        if (statement.update) {
          for (const QString& id : changed)
            right = right && after.count(id) && std::all_of(after.at(id).begin(), after.at(id).end(),
                                                            [](const QVariant& v) { return v.toInt() == kMarker; });
          right = right && changed == expected;
        } else if (statement.top) {
          right = std::includes(expected.begin(), expected.end(), changed.begin(), changed.end()) &&
                  changed.size() == std::min(expected.size(), size_t(*statement.top));
        } else {
          right = changed == expected;
        }
      } else if (right) {
        right = changed.empty();
      }
      changing += !expected.empty();
      refused += !statement.error.isEmpty();
      if (!right && ++mismatches <= 5)
        ADD_FAILURE() << statement.text.toStdString() << "\n  oracle: " << statement.oracle.toStdString()
                      << "\n  error: " << error.toStdString() << " (expected: " << statement.error.toStdString()
                      << ")\n  changed " << changed.size() << " rows, expected " << expected.size();
    }
  }
  EXPECT_EQ(mismatches, 0) << "of " << checked;
  EXPECT_EQ(checked, kSchemas * kStatementsPerSchema);
  // The run means something only if statements change rows and some are refused.
  EXPECT_GT(changing, checked / 4);
  EXPECT_GT(refused, 0);
}

// 8 x 1,250 statements, each part well within a test's time limit.
INSTANTIATE_TEST_SUITE_P(Seeds, UpdateFromDifferential, ::testing::Values(11u, 23u, 37u, 41u, 53u, 67u, 79u, 97u));
