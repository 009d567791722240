#include "platform/data/Field.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr auto kOtherUser = "Record locked by another user";
constexpr auto kThisSession = "Record already locked by this session";
// Compared with the whole message, as the handler matches them.

}  // namespace

TEST(RecordLocks, TwoDatasetsOfOneProgramEditOneRecordInTurn) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  data.AddCustomer(2, u"Luis"_qs);
  struct Case {
    std::function<void(Table&)> release;
    QString kept;
  };
  const Case cases[] = {{[](Table& t) { t.Post(); }, u"Ana María"_qs},
                        {[](Table& t) { t.Cancel(); }, u"Ana"_qs},
                        {[](Table& t) { t.Close(); }, u"Ana"_qs}};
  for (const Case& c : cases) {
    data.Execute(u"UPDATE CLIENTES SET Nombre = 'Ana', Saldo = NULL"_qs);
    auto first = data.OpenTable(u"CLIENTES"_qs);
    auto second = data.OpenTable(u"CLIENTES"_qs);
    first->Edit();
    first->FieldByName(u"Nombre"_qs).SetAsString(u"Ana María"_qs);
    EXPECT_EQ(MessageOf([&] { second->Edit(); }), QString::fromLatin1(kThisSession));
    EXPECT_EQ(MessageOf([&] { second->Delete(); }), QString::fromLatin1(kThisSession));
    EXPECT_EQ(second->State(), dsBrowse);
    second->Next();  // another record is free
    second->Edit();
    second->Prior();
    c.release(*first);
    second->Edit();
    EXPECT_EQ(second->FieldByName(u"Nombre"_qs).AsString(), c.kept);
    second->FieldByName(u"Saldo"_qs).SetAsFloat(3);
    second->Post();
    EXPECT_EQ(data.Scalar(u"SELECT Nombre || '/' || Saldo FROM CLIENTES WHERE Codigo = 1"_qs).toString(),
              c.kept + u"/3.0"_qs);
  }
}

TEST(RecordLocks, AnotherProgramWaitsUntilThePostOrItsHoldersDeath) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto mine = data.OpenTable(u"CLIENTES"_qs);
  const QMap<QString, QString> job{{u"ZEM_FOLDER"_qs, data.Folder()}, {u"ZEM_KEY"_qs, u"1"_qs}};

  // Mine first: the other program is refused at its Edit.
  mine->Edit();
  mine->FieldByName(u"Saldo"_qs).SetAsFloat(10);
  {
    SecondProcess other(u"edit"_qs, job);
    EXPECT_EQ(other.ReadReport(), u"locked "_qs + QString::fromLatin1(kOtherUser));
  }
  mine->Post();

  // Theirs first: mine is refused until they post, and then reads their name.
  auto theirs = job;
  theirs.insert(u"ZEM_NAME"_qs, u"Segundo"_qs);
  SecondProcess poster(u"edit"_qs, theirs);
  ASSERT_EQ(poster.ReadReport(), u"editing"_qs);
  EXPECT_EQ(MessageOf([&] { mine->Edit(); }), QString::fromLatin1(kOtherUser));
  EXPECT_EQ(mine->State(), dsBrowse);
  poster.Send(u"post"_qs);
  EXPECT_EQ(poster.ReadReport(), u"posted"_qs);
  mine->Edit();
  EXPECT_EQ(mine->FieldByName(u"Nombre"_qs).AsString(), u"Segundo"_qs);
  mine->FieldByName(u"Saldo"_qs).SetAsFloat(20);
  mine->Post();
  EXPECT_EQ(data.Scalar(u"SELECT Nombre || '/' || Saldo FROM CLIENTES"_qs).toString(), u"Segundo/20.0"_qs);

  // A holder killed while editing leaves no lock behind.
  theirs.insert(u"ZEM_NAME"_qs, u"Tercero"_qs);
  SecondProcess killed(u"edit"_qs, theirs);
  ASSERT_EQ(killed.ReadReport(), u"editing"_qs);
  EXPECT_EQ(MessageOf([&] { mine->Edit(); }), QString::fromLatin1(kOtherUser));
  killed.Kill();
  mine->Edit();
  EXPECT_EQ(mine->FieldByName(u"Nombre"_qs).AsString(), u"Segundo"_qs);
}

TEST(RecordLocks, ADeleteTakesTheLockBeforeItsBeforeDeleteActs) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto mine = data.OpenTable(u"CLIENTES"_qs);
  int antes = 0;
  mine->BeforeDelete = [&](Dataset&) { ++antes; };
  SecondProcess other(u"edit"_qs, {{u"ZEM_FOLDER"_qs, data.Folder()}, {u"ZEM_KEY"_qs, u"1"_qs}, {u"ZEM_NAME"_qs, u"Otro"_qs}});
  ASSERT_EQ(other.ReadReport(), u"editing"_qs);
  EXPECT_EQ(MessageOf([&] { mine->Delete(); }), QString::fromLatin1(kOtherUser));
  EXPECT_EQ(antes, 0) << "nothing is done for a record another program holds";
  EXPECT_EQ(mine->RecordCount(), 1);
  other.Send(u"post"_qs);
  ASSERT_EQ(other.ReadReport(), u"posted"_qs);
  mine->Delete();
  EXPECT_EQ(antes, 1);
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM CLIENTES"_qs).toInt(), 0);
}

// A record's lock lies at one byte of the side file that every program
// finds from the table's name and the record's key, folded (texts a
// case-insensitive collation takes as equal share it): there a program of
// another build looks for it too.
TEST(RecordLocks, TheLockLiesWhereEveryProgramLooksForIt) {
  DataFixture data;
  data.Execute(u"CREATE TABLE Codigos (Clave VARCHAR(400) NOT NULL, Texto VARCHAR(10), PRIMARY KEY (Clave))"_qs);
  const QString keys[] = {u"Abc"_qs, u"STRASSE"_qs, u"Stra\u00DFe"_qs, u"\u00C1rbol \u00D1and\u00FA"_qs,
                          u"\u03A3\u03AF\u03C3\u03C5\u03C6\u03BF\u03C2"_qs, u"a\x01b"_qs,
                          QString(300, u'Z'), u"\U0001F600 cara"_qs};
  for (const QString& key : keys)
    data.Connection()->Execute(u"INSERT INTO Codigos (Clave) VALUES (?)"_qs, {key});
  const int side = ::open(QFile::encodeName(data.File() + u"-locks"_qs).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(side, 0);
  const auto lockedAt = [side](const QString& table, const QString& keyText) {
    const QByteArray digest = QCryptographicHash::hash((table.toCaseFolded() + u'\x1f' + keyText.toCaseFolded()).toUtf8(),
                                                       QCryptographicHash::Sha1);
    quint64 value = 0;
    for (int i = 0; i < 8; ++i) value = (value << 8) | static_cast<unsigned char>(digest[i]);
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = static_cast<off_t>(value >> 2);
    probe.l_len = 1;
    return ::fcntl(side, F_OFD_GETLK, &probe) == 0 && probe.l_type == F_WRLCK;
  };
  auto codigos = data.OpenTable(u"Codigos"_qs);
  for (const QString& key : keys) {
    ASSERT_TRUE(codigos->FindKey({Variant::String(key)})) << key.toStdString();
    EXPECT_FALSE(lockedAt(u"Codigos"_qs, key + u'\x1f')) << key.toStdString();
    codigos->Edit();
    EXPECT_TRUE(lockedAt(u"Codigos"_qs, key + u'\x1f')) << key.toStdString();
    EXPECT_TRUE(lockedAt(u"CODIGOS"_qs, key + u'\x1f')) << key.toStdString();
    codigos->Cancel();
  }
  data.AddCustomer(7, u"Ana"_qs);
  auto clientes = data.OpenTable(u"CLIENTES"_qs);
  clientes->Edit();
  EXPECT_TRUE(lockedAt(u"CLIENTES"_qs, u"7\x1f"_qs));
  clientes->Cancel();
  ::close(side);
}
