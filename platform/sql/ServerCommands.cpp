#include "platform/sql/ServerCommands.h"

#include "platform/Paths.h"
#include "platform/engine/WriteTransaction.h"
#include "platform/sql/BackupFiles.h"
#include "platform/sql/BackupSource.h"
#include "platform/sql/Collation.h"
#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/InPlaceRestore.h"
#include "platform/sql/ObjectRename.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/ServerSession.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

// The significant tokens of a command, read left to right.
class CommandReader {
 public:
  explicit CommandReader(QStringView text) : text_(text.toString()) {
    qsizetype offset = 0;
    for (SqlToken& token : TokenizeSql(text_)) {
      const qsizetype length = token.text.size();
      if (token.IsSignificant()) {
        tokens_.push_back(std::move(token));
        offsets_.push_back(offset);
      }
      offset += length;
    }
  }

  bool AtEnd() const { return at_ >= tokens_.size(); }
  const SqlToken* Peek(size_t ahead = 0) const {
    return at_ + ahead < tokens_.size() ? &tokens_[at_ + ahead] : nullptr;
  }
  bool PeekWord(QStringView word, size_t ahead = 0) const { return Peek(ahead) && Peek(ahead)->IsWord(word); }
  bool Word(QStringView word) {
    if (!PeekWord(word)) return false;
    ++at_;
    return true;
  }
  void Expect(QStringView word) {
    if (!Word(word)) SyntaxError();
  }
  bool Kind(SqlTokenKind kind) {
    if (!Peek() || !Peek()->Is(kind)) return false;
    ++at_;
    return true;
  }
  QString Name() {
    if (!Peek() || !(Peek()->Is(SqlTokenKind::Word) || Peek()->Is(SqlTokenKind::QuotedName))) SyntaxError();
    return tokens_[at_++].Value();
  }
  QString String() {
    if (!Peek() || !Peek()->Is(SqlTokenKind::String)) SyntaxError();
    return tokens_[at_++].Value();
  }
  QString NameOrString() { return Peek() && Peek()->Is(SqlTokenKind::String) ? String() : Name(); }
  int Number() {
    bool ok = false;
    const int value = Peek() ? Peek()->text.toInt(&ok) : 0;
    if (!ok) SyntaxError();
    ++at_;
    return value;
  }
  void ExpectEnd() {
    Kind(SqlTokenKind::Semicolon);
    if (!AtEnd()) SyntaxError();
  }
  QString Rest() const { return AtEnd() ? QString() : text_.mid(offsets_[at_]); }
  // What stands between a "(" and its ")", read past them.
  QString Group() {
    if (!Kind(SqlTokenKind::Open)) SyntaxError();
    const size_t first = at_;
    for (int depth = 1; !AtEnd(); ++at_) {
      depth += tokens_[at_].Is(SqlTokenKind::Open) ? 1 : tokens_[at_].Is(SqlTokenKind::Close) ? -1 : 0;
      if (depth == 0) return text_.mid(offsets_[first], offsets_[at_++] - offsets_[first]);
    }
    SyntaxError();
  }
  // A NULL argument reads as nothing.
  QString ArgumentText() {
    if (Word(u"NULL")) return {};
    return NameOrString();
  }
  [[noreturn]] void SyntaxError() const {
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(AtEnd() ? tokens_.back().text : Peek()->text));
  }

 private:
  QString text_;
  std::vector<SqlToken> tokens_;
  std::vector<qsizetype> offsets_;
  size_t at_ = 0;
};

constexpr int kLastSystemDatabase = 4;  // master, tempdb, model, msdb

QString NoSuchDatabase(const QString& name) {
  return QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name);
}

// The database's connection, outside any transaction: the copy goes through
// it, and would otherwise take in what is not committed.
std::shared_ptr<Connection> ConnectionToCopy(const QString& file) {
  std::shared_ptr<Connection> connection = OpenConnection(file);
  if (connection->InTransaction())
    throw SqlError(QStringLiteral("Cannot perform a backup or restore operation within a transaction."));
  return connection;
}

// The name as SQL Server spells it.
QString SupportedCollation(const QString& name) {
  const QString canonical = Collation::CanonicalName(name);
  if (canonical.isEmpty()) throw SqlError(QStringLiteral("Invalid collation '%1'.").arg(name));
  return canonical;
}

const QStringList kIsolationLevels = {u"READ UNCOMMITTED"_qs, u"READ COMMITTED"_qs, u"REPEATABLE READ"_qs,
                                      u"SNAPSHOT"_qs, u"SERIALIZABLE"_qs};
const QList<int> kCompatibilityLevels = {60, 65, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160};

// What one command works on.
struct Command {
  CommandReader& reader;
  EmbeddedServer& server;
  ServerSession& session;
  CommandOutcome& outcome;
};

void CreateDatabase(Command c) {
  const QString name = c.reader.Name();
  const QString collation = c.reader.Word(u"COLLATE") ? SupportedCollation(c.reader.Name())
                                                      : Collation::kDefaultName.toString();
  c.reader.ExpectEnd();
  c.server.CreateDatabase(name, collation);
}

void DropDatabase(Command c) {
  const QString name = c.reader.Name();
  c.reader.ExpectEnd();
  const std::optional<DatabaseInfo> database = c.server.Database(name);
  if (!database)
    throw SqlError(QStringLiteral("Cannot drop the database '%1', because it does not exist or you do not have "
                                  "permission.").arg(name));
  if (database->dbid <= kLastSystemDatabase)
    throw SqlError(QStringLiteral("Cannot drop the database '%1' because it is a system database.").arg(name));
  c.server.ReleaseIdleHolds(database->name);
  // Checked and removed under the master's write lock, which a session takes
  // to come onto the database or to attach it.
  WriteTransaction exclusive(c.server.Master());
  // Any other session on it, of this program too, keeps it, as on the server.
  if (c.session.Database().compare(database->name, Qt::CaseInsensitive) == 0 ||
      c.server.OtherSessions(database->name, c.session.Spid()) > 0 || c.server.Restoring(database->dbid))
    throw SqlError(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
  c.server.RemoveDatabase(database->name);
  exclusive.Commit();
}

void AlterDatabase(Command c) {
  const QString name = c.reader.Name();
  if (c.reader.Word(u"COLLATE")) {
    c.server.SetCollation(name, SupportedCollation(c.reader.Name()));
  } else {
    c.reader.Expect(u"SET");
    c.reader.Expect(u"RECOVERY");
    const QString model = c.reader.Name().toUpper();
    if (model != u"SIMPLE" && model != u"FULL" && model != u"BULK_LOGGED") c.reader.SyntaxError();
    c.server.SetRecoveryModel(name, model);
  }
  c.reader.ExpectEnd();
}

// DISK = 'file', as written (for the server's texts) and as a path here,
// where "\" separates folders.
struct DiskFile {
  QString written;
  QString path;
};
DiskFile ReadDiskFile(CommandReader& reader) {
  reader.Expect(u"DISK");
  if (!reader.Peek() || !reader.Peek()->IsSymbol(u"=")) reader.SyntaxError();
  reader.Kind(SqlTokenKind::Symbol);
  const QString written = reader.String();
  return {written, Paths::Internal(written)};
}

// A database file of a server folder, or one that lies beside it: the
// server's own, which no BACKUP writes and no RESTORE reads (a backup left
// under a restore's name would be taken for a restore cut short).
bool IsServerFile(const QString& path) {
  const QFileInfo info(path);
  if (!ServerFiles::IsServerFolder(info.absolutePath())) return false;
  const QString name = info.fileName();
  const QString database = QStringLiteral(".sqlite");
  for (const QString& beside : QStringList{QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                           QStringLiteral("-journal")} +
                                   RestoreSideFiles(QString()))
    if (name.size() > database.size() + beside.size() && name.endsWith(database + beside)) return true;
  return false;
}

void RefuseServerFile(const DiskFile& file) {
  if (IsServerFile(file.path))
    throw SqlError(QStringLiteral("Cannot open backup device '%1'. Operating system error 5(Access is denied.).")
                       .arg(file.written));
}

// What stops a BACKUP or RESTORE once it runs is followed, as on SQL Server,
// by the statement's own end.
template <typename Work>
void RunToTheEnd(const char* statement, Work&& work) {
  try {
    work();
  } catch (const EDatabaseError& error) {
    throw EDatabaseError(error.EngineMessage(),
                         error.DriverMessage() + QStringLiteral("\n%1 is terminating abnormally.").arg(QLatin1String(statement)),
                         error.SqliteCode());
  }
}

void BackupDatabase(Command c) {
  c.reader.Expect(u"DATABASE");
  const QString name = c.reader.Name();
  c.reader.Expect(u"TO");
  const DiskFile file = ReadDiskFile(c.reader);
  if (c.reader.Word(u"WITH"))
    while (c.reader.Word(u"FORMAT") || c.reader.Word(u"INIT") || c.reader.Kind(SqlTokenKind::Comma)) {
    }
  c.reader.ExpectEnd();
  RunToTheEnd("BACKUP DATABASE", [&] {
    RefuseServerFile(file);
    const std::optional<DatabaseInfo> database = c.server.Database(name);
    if (!database) throw SqlError(NoSuchDatabase(name));
    // Not of a file half restored.
    c.server.RefuseWhileRestoring(database->name, database->dbid);
    if (!QFileInfo(QFileInfo(file.path).absolutePath()).isDir())
      throw SqlError(QStringLiteral("Cannot open backup device '%1'. Operating system error 3(The system cannot find "
                                    "the path specified.).").arg(file.written));
    const std::shared_ptr<Connection> source = ConnectionToCopy(c.server.DatabaseFile(name));
    // A backup file holds one backup: writing it again replaces it.
    BackupWriting writing(file.path);
    if (const std::error_code error = writing.Write(*source))
      throw SqlError(QStringLiteral("Write on \"%1\" failed: %2(%3)")
                         .arg(file.written, QString::number(error.value()), QString::fromStdString(error.message())));
  });
}

const QString kDamaged = QStringLiteral("Damage to the backup set was detected.");
const QString kInUse = QStringLiteral("Exclusive access could not be obtained because the database is in use.");

// Ends a restore's mark however the restore ends.
class RestoreUnderWay {
 public:
  RestoreUnderWay(EmbeddedServer& server, int dbid) : server_(server), dbid_(dbid) {}
  ~RestoreUnderWay() {
    try {
      server_.MarkRestoring(dbid_, false);
    } catch (const std::exception&) {
      // Left behind, the mark goes with this process.
    }
  }
  RestoreUnderWay(const RestoreUnderWay&) = delete;
  RestoreUnderWay& operator=(const RestoreUnderWay&) = delete;

 private:
  EmbeddedServer& server_;
  int dbid_;
};

void RestoreDatabase(Command c) {
  c.reader.Expect(u"DATABASE");
  const QString name = c.reader.Name();
  c.reader.Expect(u"FROM");
  const DiskFile file = ReadDiskFile(c.reader);
  if (c.reader.Word(u"WITH")) c.reader.Expect(u"REPLACE");
  c.reader.ExpectEnd();
  RunToTheEnd("RESTORE DATABASE", [&] {
    RefuseServerFile(file);
    if (!QFileInfo(file.path).isFile())
      throw SqlError(QStringLiteral("Cannot open backup device '%1'. Operating system error 2(The system cannot find "
                                    "the file specified.).").arg(file.written));
    const auto refuse = [&](BackupCheck check) {
      switch (check) {
        case BackupCheck::Whole:
          return;
        case BackupCheck::Damaged:
          throw SqlError(kDamaged);
        case BackupCheck::Malformed:
          throw SqlError(QStringLiteral("The media family on device '%1' is incorrectly formed. SQL Server cannot "
                                        "process this media family.").arg(file.written));
      }
    };
    BackupSource backup(file.path);
    refuse(backup.Form());
    // Sessions open and change databases under the master's write lock: held
    // from the look at the sessions to the restore's mark, none comes onto the
    // database before the mark keeps them off. The copy runs without it, so
    // other databases stay open to logins meanwhile.
    c.server.ReleaseIdleHolds(name);
    WriteTransaction exclusive(c.server.Master());
    const std::optional<DatabaseInfo> database = c.server.Database(name);
    // Any other session on it, of this program too, keeps it, as on the server.
    if (database && (database->dbid <= kLastSystemDatabase || c.server.Restoring(database->dbid) ||
                     c.server.OtherSessions(database->name, c.session.Spid()) > 0))
      throw SqlError(kInUse);
    // The name as written, so a refusal names what the statement said.
    const QString target = c.server.DatabaseFile(database ? database->name : name);
    const auto restore = [&] {
      // A file left half restored is no database of the system's yet.
      const bool cutShort = RestoreCutShort(target);
      const std::shared_ptr<Connection> restoredConnection =
          cutShort ? OpenBackupFile(target, FileAccess::Write) : ConnectionToCopy(target);
      if (const std::optional<BackupCheck> inPlace = RestoreInPlace(file.path, *restoredConnection))
        return refuse(*inPlace);
      // Held elsewhere, or the backup on another file system: through the
      // WAL, which waits for the others' locks but keeps the database's page
      // size; a backup of another page size needs the file alone.
      const int pageSize = restoredConnection->QueryRows(QStringLiteral("PRAGMA main.page_size")).rows[0][0].toInt();
      const std::optional<BackupCheck> copied = backup.PageSize() == pageSize
                                                    ? backup.CopyInto(*restoredConnection)
                                                    : CopyOutOfWal(backup, *restoredConnection);
      if (!copied) throw SqlError(kInUse);
      refuse(*copied);
      TakeBackupMarkOff(*restoredConnection);
      if (cutShort) ForgetRestoreCutShort(target);
    };
    // A database no session can know yet is made under the lock, and not
    // left behind by a restore that fails.
    if (!database) {
      const bool existed = QFileInfo::exists(target);
      try {
        restore();
      } catch (...) {
        if (!existed)
          for (const QString& made :
               QStringList{target, target + QStringLiteral("-wal"), target + QStringLiteral("-shm")} +
                   RestoreSideFiles(target))
            QFile::remove(made);
        throw;
      }
      c.server.RegisterDatabase(name, Collation::kDefaultName.toString());
      exclusive.Commit();
      return;
    }
    c.server.MarkRestoring(database->dbid, true);
    exclusive.Commit();
    const RestoreUnderWay underWay(c.server, database->dbid);
    restore();
  });
}

void SetIsolationLevel(Command c) {
  c.reader.Expect(u"ISOLATION");
  c.reader.Expect(u"LEVEL");
  QString level = c.reader.Name().toUpper();
  if (level == u"READ" || level == u"REPEATABLE") level += u' ' + c.reader.Name().toUpper();
  if (!kIsolationLevels.contains(level)) throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(level));
  c.reader.ExpectEnd();
  c.session.SetIsolationLevel(level);
}

void SelectVersion(Command c) {
  const SqlToken* variable = c.reader.Peek();
  if (variable->text.compare(u"@@VERSION", Qt::CaseInsensitive) != 0)
    throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.").arg(variable->text));
  c.reader.Kind(SqlTokenKind::Variable);
  c.reader.ExpectEnd();
  c.outcome.rows.columns << QString();
  c.outcome.rows.rows << QVariantList{ServerCommands::VersionText()};
}

void CompatibilityLevel(Command c) {
  const QString name = c.reader.NameOrString();
  c.reader.Kind(SqlTokenKind::Comma);
  const int level = c.reader.Number();
  c.reader.ExpectEnd();
  if (!c.server.Database(name))
    throw SqlError(QStringLiteral("The database '%1' does not exist. Supply a valid database name. To see available "
                                  "databases, use sys.databases.").arg(name));
  if (!kCompatibilityLevels.contains(level))
    throw SqlError(QStringLiteral("Valid values of database compatibility level are 60, 65, 70, 80, 90, 100, 110, "
                                  "120, 130, 140, 150 or 160."));
  c.server.SetCompatibilityLevel(name, level);
}

void Rename(Command c) {
  const QString object = c.reader.NameOrString();
  if (!c.reader.Kind(SqlTokenKind::Comma)) c.reader.SyntaxError();
  const QString newName = c.reader.NameOrString();
  const QString type = c.reader.Kind(SqlTokenKind::Comma) ? c.reader.NameOrString() : QString();
  c.reader.ExpectEnd();
  RenameObject(*OpenConnection(c.server.DatabaseFile(c.session.Database())), object, newName, type);
}

// xp_readerrorlog log, kind, text, text, from, to, order: the lines of the
// server's log holding both texts, in the order asked.
void ReadErrorLog(Command c) {
  QStringList arguments;
  while (!c.reader.AtEnd() && !c.reader.Kind(SqlTokenKind::Semicolon)) {
    if (c.reader.Peek()->Is(SqlTokenKind::Number)) {
      arguments << QString::number(c.reader.Number());
    } else {
      arguments << c.reader.ArgumentText();
    }
    c.reader.Kind(SqlTokenKind::Comma);
  }
  c.reader.ExpectEnd();
  QStringList searched;
  for (const QString& text : arguments.mid(2, 2))
    if (!text.isEmpty()) searched << text;
  c.outcome.rows = c.server.ReadLog(searched, arguments.value(6).compare(u"DESC", Qt::CaseInsensitive) == 0);
}

void Execute(Command c) {
  const QString procedure = c.reader.Name();
  if (procedure.compare(u"sp_dbcmptlevel", Qt::CaseInsensitive) == 0) return CompatibilityLevel(c);
  if (procedure.compare(u"sp_rename", Qt::CaseInsensitive) == 0) return Rename(c);
  if (procedure.compare(u"xp_readerrorlog", Qt::CaseInsensitive) == 0) return ReadErrorLog(c);
  throw SqlError(QStringLiteral("Could not find stored procedure '%1'.").arg(procedure));
}

std::shared_ptr<Connection> SessionDatabase(Command c) {
  return OpenConnection(c.server.DatabaseFile(c.session.Database()));
}

bool HasObject(Connection& connection, const char* type, const QString& name) {
  return !connection
              .QueryRows(QStringLiteral("SELECT 1 FROM main.sqlite_schema WHERE type = ? AND name = ? COLLATE NOCASE"),
                         {QString::fromLatin1(type), name})
              .rows.isEmpty();
}

// DBCC CHECKTABLE ('T') [WITH PHYSICAL_ONLY]: the table and its indexes
// checked (the pages and records alone with PHYSICAL_ONLY), what was found
// logged as SQL Server logs it.
void CheckTable(Command c) {
  const QString group = c.reader.Group();
  bool physicalOnly = false;
  if (c.reader.Word(u"WITH")) {
    do {
      physicalOnly = c.reader.Name().compare(u"PHYSICAL_ONLY", Qt::CaseInsensitive) == 0 || physicalOnly;
    } while (c.reader.Kind(SqlTokenKind::Comma));
  }
  c.reader.ExpectEnd();
  CommandReader inner(group);
  const QString table = inner.NameOrString();
  const std::shared_ptr<Connection> database = SessionDatabase(c);
  if (!HasObject(*database, "table", table))
    throw SqlError(QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                                  "permissions.").arg(table));
  int errors = 0;
  const QString check = physicalOnly ? QStringLiteral("quick_check") : QStringLiteral("integrity_check");
  for (const QVariantList& row :
       database->QueryRows(QStringLiteral("PRAGMA main.%1(%2)").arg(check, QuoteSqlString(table))).rows)
    if (row.value(0).toString() != u"ok") ++errors;
  c.server.LogLine(QStringLiteral("spid%1").arg(c.session.Spid()),
                   QStringLiteral("DBCC CHECKTABLE (%1.dbo.%2)%3 found %4 errors and repaired 0 errors.")
                       .arg(c.session.Database(), table,
                            physicalOnly ? QStringLiteral(" WITH physical_only") : QString(), QString::number(errors)));
}

// The server's own row triggers; SQL Server's text goes to the mapper,
// which refuses it.
bool IsRowTrigger(QStringView text) { return text.contains(u"FOR EACH ROW", Qt::CaseInsensitive); }

void CreateTrigger(Command c, const QString& text) { SessionDatabase(c)->Execute(text); }

void DropTrigger(Command c) {
  QString name = c.reader.Name();
  if (c.reader.Kind(SqlTokenKind::Dot)) name = c.reader.Name();
  c.reader.ExpectEnd();
  const std::shared_ptr<Connection> database = SessionDatabase(c);
  if (!HasObject(*database, "trigger", name))
    throw SqlError(QStringLiteral("Cannot drop the trigger '%1', because it does not exist or you do not have "
                                  "permission.").arg(name));
  database->Execute(QStringLiteral("DROP TRIGGER main.") + SqlText::Quoted(name));
}

void Kill(Command c) {
  const int spid = c.reader.Number();
  c.reader.ExpectEnd();
  if (spid == c.session.Spid()) throw SqlError(QStringLiteral("Cannot use KILL to kill your own process."));
  if (!c.server.EndSession(spid)) throw SqlError(QStringLiteral("Process ID %1 is not an active process ID.").arg(spid));
}

void Use(Command c) {
  const QString name = c.reader.Name();
  const std::optional<DatabaseInfo> database = c.server.Database(name);
  if (!database) throw SqlError(NoSuchDatabase(name));
  // Under the master's write lock, as a restore looks at the sessions.
  WriteTransaction moving(c.server.Master());
  c.server.RefuseWhileRestoring(name, database->dbid);
  c.session.UseDatabase(database->name, database->dbid);
  moving.Commit();
  c.reader.Kind(SqlTokenKind::Semicolon);
}

// The commands by their leading words.
struct CommandRow {
  QStringView first;
  QStringView second;  // empty: any
  void (*run)(Command);
};

constexpr CommandRow kCommands[] = {
    {u"CREATE", u"DATABASE", CreateDatabase},  {u"DROP", u"DATABASE", DropDatabase},
    {u"ALTER", u"DATABASE", AlterDatabase},    {u"BACKUP", u"", BackupDatabase},
    {u"RESTORE", u"", RestoreDatabase},        {u"SET", u"TRANSACTION", SetIsolationLevel},
    {u"EXEC", u"", Execute},                   {u"EXECUTE", u"", Execute},
    {u"KILL", u"", Kill},                      {u"DROP", u"TRIGGER", DropTrigger},
    {u"DBCC", u"CHECKTABLE", CheckTable},
};

}  // namespace

ServerCommands::ServerCommands(EmbeddedServer& server) : server_(server) {}

QString ServerCommands::VersionText() {
  return QStringLiteral("Microsoft SQL Server 2019 - embedded server on SQLite %1")
      .arg(QString::fromLatin1(sqlite3_libversion()));
}

namespace {

// Whether a batch may begin with a server command; its first two tokens
// tell, so a statement that is none is not read through here.
bool MayBeCommand(const std::vector<SqlToken>& lead) {
  if (lead.empty()) return true;
  const SqlToken& first = lead.front();
  if (first.IsWord(u"USE") || first.IsWord(u"DBCC") || first.IsWord(u"SET") || first.IsWord(u"IF")) return true;
  for (const CommandRow& row : kCommands)
    if (first.IsWord(row.first)) return true;
  return first.IsWord(u"SELECT") && lead.size() > 1 && lead[1].Is(SqlTokenKind::Variable);
}

}  // namespace

CommandOutcome ServerCommands::Run(QStringView batch, ServerSession& session) {
  std::vector<SqlToken> lead;
  qsizetype begin = 0;  // of the first significant token
  for (SqlToken& token : TokenizeSql(batch, 2)) {
    if (token.IsSignificant()) lead.push_back(std::move(token));
    else if (lead.empty()) begin += token.text.size();
  }
  if (!MayBeCommand(lead)) {
    CommandOutcome outcome;
    outcome.statement = batch.mid(begin).toString();
    return outcome;
  }
  CommandReader reader(batch);
  CommandOutcome outcome;
  outcome.handled = true;
  const Command command{reader, server_, session, outcome};
  while (reader.Word(u"USE")) Use(command);
  if (reader.AtEnd()) return outcome;
  if (reader.PeekWord(u"CREATE") && reader.PeekWord(u"TRIGGER", 1) && IsRowTrigger(reader.Rest())) {
    CreateTrigger(command, reader.Rest());
    return outcome;
  }
  // IF EXISTS (query) command: the query is left to the caller, who runs
  // the command when it gives a row.
  if (reader.PeekWord(u"IF") && reader.PeekWord(u"EXISTS", 1)) {
    reader.Expect(u"IF");
    reader.Expect(u"EXISTS");
    outcome.handled = false;
    outcome.condition = reader.Group();
    outcome.statement = reader.Rest();
    return outcome;
  }

  for (const CommandRow& row : kCommands) {
    if (!reader.PeekWord(row.first) || (!row.second.isEmpty() && !reader.PeekWord(row.second, 1))) continue;
    reader.Expect(row.first);
    if (!row.second.isEmpty()) reader.Expect(row.second);
    row.run(command);
    return outcome;
  }
  if (reader.PeekWord(u"SELECT") && reader.Peek(1) && reader.Peek(1)->Is(SqlTokenKind::Variable)) {
    reader.Expect(u"SELECT");
    SelectVersion(command);
    return outcome;
  }
  // The server's other commands are not run.
  if (reader.PeekWord(u"DBCC") || reader.PeekWord(u"SET"))
    throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.").arg(reader.Rest().simplified()));
  outcome.handled = false;
  outcome.statement = reader.Rest();
  return outcome;
}
