#include "platform/data/BatchMove.h"
#include "platform/data/Field.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

namespace {

// CLIENTES of the source: 1 Ana, 2 Luis, 3 Marta (Saldo 40000); of the
// destination: 2 Viejo, 4 Otro.
struct Companies {
  DataFixture source;
  DataFixture destination;
  Companies() {
    source.AddCustomer(1, u"Ana"_qs);
    source.AddCustomer(2, u"Luis"_qs);
    source.AddCustomer(3, u"Marta"_qs);
    source.Execute(u"UPDATE CLIENTES SET Saldo = 40000 WHERE Codigo = 3"_qs);
    destination.AddCustomer(2, u"Viejo"_qs);
    destination.AddCustomer(4, u"Otro"_qs);
  }
};

struct Counts {
  int moved, changed, keyViolations, problems;
  bool operator==(const Counts&) const = default;
};

Counts CountsOf(const BatchMove& move) {
  return {move.MovedCount(), move.ChangedCount(), move.KeyViolCount(), move.ProblemCount()};
}

}  // namespace

TEST(BatchMoves, EachModeWritesByKeyAndCountsWhatItSkips) {
  const struct {
    const char* name;
    BatchMode mode;
    const char* filter;
    const char* mappings;  // lines joined by "|"
    QStringList expected;  // Codigo:Nombre:Notas of the destination
    Counts counts;
  } cases[] = {
      {"append", batAppend, "", "", {"1:Ana:", "2:Viejo:", "3:Marta:", "4:Otro:"}, {3, 0, 1, 0}},
      {"update", batUpdate, "", "", {"2:Luis:", "4:Otro:"}, {3, 1, 0, 0}},
      {"append and update", batAppendUpdate, "", "", {"1:Ana:", "2:Luis:", "3:Marta:", "4:Otro:"}, {3, 1, 0, 0}},
      {"filtered", batAppendUpdate, "Codigo >= 2", "", {"2:Luis:", "3:Marta:", "4:Otro:"}, {2, 1, 0, 0}},
      {"mapped", batAppendUpdate, "", "Codigo|Notas=Nombre",
       {"1::Ana", "2:Viejo:Luis", "3::Marta", "4:Otro:"}, {3, 1, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Companies companies;
    auto source = companies.source.OpenTable(u"CLIENTES"_qs);
    source->SetFilter(QString::fromLatin1(c.filter));
    source->SetFiltered(true);
    auto destination = companies.destination.NewTable(u"CLIENTES"_qs);
    BatchMove move;
    move.SetSource(source.get());
    move.SetDestination(destination.get());
    move.SetMode(c.mode);
    move.SetAbortOnKeyViol(false);
    for (const QString& line : QString::fromLatin1(c.mappings).split(u'|', Qt::SkipEmptyParts))
      move.Mappings().Add(line);
    move.Execute();
    EXPECT_FALSE(destination->Active()) << "closed again, as it was";
    EXPECT_EQ(Walk(*companies.destination.OpenTable(u"CLIENTES"_qs), u"Codigo;Nombre;Notas"_qs), c.expected);
    EXPECT_EQ(CountsOf(move), c.counts);
  }
}

// A record the destination cannot hold is skipped, or ends the move, as
// asked; a key violation likewise.
TEST(BatchMoves, ProblemRecordsAndKeyViolationsAreSkippedUnlessTheyAbort) {
  const struct {
    const char* name;
    bool abortOnKeyViol, abortOnProblem;
    QString error;
    QStringList expected;
    Counts counts;
  } cases[] = {
      {"neither aborts", false, false, {}, {"1:Ana:", "2:Viejo:", "4:Otro:"}, {3, 0, 1, 1}},
      {"key violation aborts", true, false, u"Key violation"_qs, {"1:Ana:", "2:Viejo:", "4:Otro:"}, {2, 0, 1, 0}},
      {"problem aborts", false, true, u"Batch move problem record"_qs, {"1:Ana:", "2:Viejo:", "4:Otro:"},
       {3, 0, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Companies companies;
    // Marta's balance does not fit a small integer.
    companies.destination.Execute(u"DROP TABLE CLIENTES"_qs);
    auto created = companies.destination.NewTable(u"CLIENTES"_qs);
    created->FieldDefs().Add(u"Codigo"_qs, ftInteger);
    created->FieldDefs().Add(u"Nombre"_qs, ftString, 5);
    created->FieldDefs().Add(u"Saldo"_qs, ftSmallint);
    created->FieldDefs().Add(u"Notas"_qs, ftMemo);
    created->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
    created->CreateTable();
    companies.destination.AddCustomer(2, u"Viejo"_qs);
    companies.destination.AddCustomer(4, u"Otro"_qs);
    auto source = companies.source.OpenTable(u"CLIENTES"_qs);
    BatchMove move;
    move.SetSource(source.get());
    move.SetDestination(created.get());
    move.SetAbortOnKeyViol(c.abortOnKeyViol);
    move.SetAbortOnProblem(c.abortOnProblem);
    EXPECT_EQ(EngineMessageOf([&] { move.Execute(); }), c.error);
    EXPECT_EQ(Walk(*companies.destination.OpenTable(u"CLIENTES"_qs), u"Codigo;Nombre;Notas"_qs), c.expected);
    EXPECT_EQ(CountsOf(move), c.counts);
  }
  // A name longer than the destination's field would be cut: a problem.
  Companies companies;
  companies.source.AddCustomer(5, u"Nombre largo"_qs);
  auto created = companies.destination.NewTable(u"CORTOS"_qs);
  created->FieldDefs().Add(u"Codigo"_qs, ftInteger);
  created->FieldDefs().Add(u"Nombre"_qs, ftString, 5);
  created->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
  created->CreateTable();
  BatchMove move;
  move.SetSource(companies.source.OpenTable(u"CLIENTES"_qs).release());
  move.Source()->setParent(&move);
  move.SetDestination(created.get());
  move.SetAbortOnProblem(false);
  move.Execute();
  EXPECT_EQ(Walk(*companies.destination.OpenTable(u"CORTOS"_qs), u"Codigo;Nombre"_qs),
            (QStringList{u"1:Ana"_qs, u"2:Luis"_qs, u"3:Marta"_qs}));
  EXPECT_EQ(move.ProblemCount(), 1);
}

TEST(BatchMoves, ARecordAnotherProgramEditsEndsTheMoveWithItsError) {
  Companies companies;
  SecondProcess other(u"edit"_qs, {{u"ZEM_FOLDER"_qs, companies.destination.Folder()},
                                   {u"ZEM_KEY"_qs, u"2"_qs},
                                   {u"ZEM_NAME"_qs, u"Suyo"_qs}});
  ASSERT_EQ(other.ReadReport(), u"editing"_qs);
  auto source = companies.source.OpenTable(u"CLIENTES"_qs);
  auto destination = companies.destination.OpenTable(u"CLIENTES"_qs);
  BatchMove move;
  move.SetSource(source.get());
  move.SetDestination(destination.get());
  move.SetMode(batAppendUpdate);
  move.SetAbortOnKeyViol(false);
  move.SetAbortOnProblem(false);
  EXPECT_EQ(MessageOf([&] { move.Execute(); }), u"Record locked by another user"_qs);
  EXPECT_EQ(destination->State(), dsBrowse);
  EXPECT_EQ(Walk(*destination, u"Codigo;Nombre"_qs), (QStringList{u"1:Ana"_qs, u"2:Viejo"_qs, u"4:Otro"_qs}));
  // An update needs the key of every index field mapped.
  move.Mappings().Add(u"Nombre"_qs);
  EXPECT_EQ(MessageOf([&] { move.Execute(); }), u"Field 'Codigo' must have a value"_qs);
}
