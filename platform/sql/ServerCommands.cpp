#include "platform/sql/ServerCommands.h"

#include "platform/sql/Collation.h"
#include "platform/sql/DatabaseCopy.h"
#include "platform/sql/EmbeddedServer.h"
#include "platform/sql/ObjectRename.h"
#include "platform/sql/ServerSession.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

// The significant tokens of a command, read left to right.
class CommandReader {
 public:
  explicit CommandReader(QStringView text) : text_(text.toString()) {
    qsizetype offset = 0;
    for (SqlToken& token : TokenizeSql(text)) {
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
  [[noreturn]] void SyntaxError() const {
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(AtEnd() ? tokens_.back().text : Peek()->text));
  }

 private:
  QString text_;
  std::vector<SqlToken> tokens_;
  std::vector<qsizetype> offsets_;
  size_t at_ = 0;
};

QString NoSuchDatabase(const QString& name) {
  return QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name);
}

QString SupportedCollation(const QString& name) {
  if (!Collation::Find(name))
    throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.").arg(name));
  return name;
}

// Runs the hooks' reopening however the command ends.
class ConnectionsClosed {
 public:
  ConnectionsClosed(const ServerHooks& hooks, QString database) : hooks_(hooks), database_(std::move(database)) {
    if (hooks_.closeConnections) hooks_.closeConnections(database_);
  }
  ~ConnectionsClosed() {
    if (hooks_.reopenConnections) hooks_.reopenConnections(database_);
  }
  ConnectionsClosed(const ConnectionsClosed&) = delete;
  ConnectionsClosed& operator=(const ConnectionsClosed&) = delete;

 private:
  const ServerHooks& hooks_;
  QString database_;
};

const QStringList kIsolationLevels = {u"READ UNCOMMITTED"_qs, u"READ COMMITTED"_qs, u"REPEATABLE READ"_qs,
                                      u"SNAPSHOT"_qs, u"SERIALIZABLE"_qs};
const QList<int> kCompatibilityLevels = {60, 65, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160};

}  // namespace

ServerCommands::ServerCommands(EmbeddedServer& server, ServerHooks hooks) : server_(server), hooks_(std::move(hooks)) {}

QString ServerCommands::VersionText() {
  return QStringLiteral("Microsoft SQL Server 2019 - embedded server on SQLite %1")
      .arg(QString::fromLatin1(sqlite3_libversion()));
}

CommandOutcome ServerCommands::Run(QStringView batch, ServerSession& session) {
  CommandReader reader(batch);
  CommandOutcome outcome;
  outcome.handled = true;
  while (reader.Word(u"USE")) {
    const QString name = reader.Name();
    const std::optional<DatabaseInfo> database = server_.Database(name);
    if (!database) throw SqlError(NoSuchDatabase(name));
    session.UseDatabase(database->name, database->dbid);
    reader.Kind(SqlTokenKind::Semicolon);
  }
  if (reader.AtEnd()) return outcome;

  const SqlToken& head = *reader.Peek();
  if (head.IsWord(u"CREATE") && reader.PeekWord(u"DATABASE", 1)) {
    reader.Expect(u"CREATE");
    reader.Expect(u"DATABASE");
    const QString name = reader.Name();
    const QString collation = reader.Word(u"COLLATE") ? SupportedCollation(reader.Name())
                                                      : Collation::kDefaultName.toString();
    reader.ExpectEnd();
    server_.CreateDatabase(name, collation);
  } else if (head.IsWord(u"DROP") && reader.PeekWord(u"DATABASE", 1)) {
    reader.Expect(u"DROP");
    reader.Expect(u"DATABASE");
    const QString name = reader.Name();
    reader.ExpectEnd();
    const std::optional<DatabaseInfo> database = server_.Database(name);
    if (!database)
      throw SqlError(QStringLiteral("Cannot drop the database '%1', because it does not exist or you do not have "
                                    "permission.").arg(name));
    if (database->dbid <= 4)
      throw SqlError(QStringLiteral("Cannot drop the database '%1' because it is a system database.").arg(name));
    if (session.Database().compare(database->name, Qt::CaseInsensitive) == 0 ||
        server_.SessionsOfOtherProcesses(database->name) > 0)
      throw SqlError(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
    ConnectionsClosed closed(hooks_, database->name);
    server_.RemoveDatabase(database->name);
  } else if (head.IsWord(u"ALTER") && reader.PeekWord(u"DATABASE", 1)) {
    reader.Expect(u"ALTER");
    reader.Expect(u"DATABASE");
    const QString name = reader.Name();
    if (reader.Word(u"COLLATE")) {
      server_.SetCollation(name, SupportedCollation(reader.Name()));
    } else {
      reader.Expect(u"SET");
      reader.Expect(u"RECOVERY");
      const QString model = reader.Name().toUpper();
      if (model != u"SIMPLE" && model != u"FULL" && model != u"BULK_LOGGED") reader.SyntaxError();
      server_.SetRecoveryModel(name, model);
    }
    reader.ExpectEnd();
  } else if (head.IsWord(u"BACKUP")) {
    reader.Expect(u"BACKUP");
    reader.Expect(u"DATABASE");
    const QString name = reader.Name();
    reader.Expect(u"TO");
    reader.Expect(u"DISK");
    if (!reader.Kind(SqlTokenKind::Symbol)) reader.SyntaxError();
    const QString file = reader.String();
    if (reader.Word(u"WITH")) {
      while (reader.Word(u"FORMAT") || reader.Word(u"INIT") || reader.Word(u"NOINIT") || reader.Kind(SqlTokenKind::Comma)) {
      }
    }
    reader.ExpectEnd();
    if (!server_.Database(name)) throw SqlError(NoSuchDatabase(name));
    if (!QFileInfo(QFileInfo(file).absolutePath()).isDir())
      throw SqlError(QStringLiteral("Cannot open backup device '%1'. Operating system error 3(The system cannot find "
                                    "the path specified.).").arg(file));
    // A backup file holds one backup: writing it again replaces it.
    CopyDatabase(server_.DatabaseFile(name), file);
  } else if (head.IsWord(u"RESTORE")) {
    reader.Expect(u"RESTORE");
    reader.Expect(u"DATABASE");
    const QString name = reader.Name();
    reader.Expect(u"FROM");
    reader.Expect(u"DISK");
    if (!reader.Kind(SqlTokenKind::Symbol)) reader.SyntaxError();
    const QString file = reader.String();
    if (reader.Word(u"WITH")) reader.Expect(u"REPLACE");
    reader.ExpectEnd();
    if (!QFileInfo(file).isFile())
      throw SqlError(QStringLiteral("Cannot open backup device '%1'. Operating system error 2(The system cannot find "
                                    "the file specified.).").arg(file));
    if (!IsReadableDatabase(file))
      throw SqlError(QStringLiteral("The media family on device '%1' is incorrectly formed. SQL Server cannot process "
                                    "this media family.").arg(file));
    const std::optional<DatabaseInfo> database = server_.Database(name);
    if (database && (database->dbid <= 4 || server_.SessionsOfOtherProcesses(database->name) > 0))
      throw SqlError(QStringLiteral("Exclusive access could not be obtained because the database is in use."));
    const QString restored = database ? database->name : name.toUpper();
    ConnectionsClosed closed(hooks_, restored);
    CopyDatabase(file, server_.DatabaseFile(restored));
    if (!database) server_.RegisterDatabase(restored, Collation::kDefaultName.toString());
  } else if (head.IsWord(u"SET") && reader.PeekWord(u"TRANSACTION", 1)) {
    reader.Expect(u"SET");
    reader.Expect(u"TRANSACTION");
    reader.Expect(u"ISOLATION");
    reader.Expect(u"LEVEL");
    QString level = reader.Name().toUpper();
    if (level == u"READ" || level == u"REPEATABLE") level += u' ' + reader.Name().toUpper();
    if (!kIsolationLevels.contains(level)) throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(level));
    reader.ExpectEnd();
    session.SetIsolationLevel(level);
  } else if (head.IsWord(u"SELECT") && reader.Peek(1) && reader.Peek(1)->Is(SqlTokenKind::Variable)) {
    reader.Expect(u"SELECT");
    if (reader.Peek()->text.compare(u"@@VERSION", Qt::CaseInsensitive) != 0)
      throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.").arg(reader.Peek()->text));
    reader.Kind(SqlTokenKind::Variable);
    reader.ExpectEnd();
    outcome.rows.columns << QString();
    outcome.rows.rows << QVariantList{VersionText()};
  } else if (head.IsWord(u"EXEC") || head.IsWord(u"EXECUTE")) {
    reader.Name();
    const QString procedure = reader.Name();
    if (procedure.compare(u"sp_dbcmptlevel", Qt::CaseInsensitive) == 0) {
      const QString name = reader.NameOrString();
      reader.Kind(SqlTokenKind::Comma);
      const int level = reader.Number();
      reader.ExpectEnd();
      if (!server_.Database(name))
        throw SqlError(QStringLiteral("The database '%1' does not exist. Supply a valid database name. To see "
                                      "available databases, use sys.databases.").arg(name));
      if (!kCompatibilityLevels.contains(level))
        throw SqlError(QStringLiteral("Valid values of database compatibility level are 60, 65, 70, 80, 90, 100, "
                                      "110, 120, 130, 140, 150 or 160."));
      server_.SetCompatibilityLevel(name, level);
    } else if (procedure.compare(u"sp_rename", Qt::CaseInsensitive) == 0) {
      const QString object = reader.NameOrString();
      if (!reader.Kind(SqlTokenKind::Comma)) reader.SyntaxError();
      const QString newName = reader.NameOrString();
      const QString type = reader.Kind(SqlTokenKind::Comma) ? reader.NameOrString() : QString();
      reader.ExpectEnd();
      SqliteHandle database = OpenSqlite(server_.DatabaseFile(session.Database()), false);
      RenameObject(database.get(), object, newName, type);
    } else {
      throw SqlError(QStringLiteral("Could not find stored procedure '%1'.").arg(procedure));
    }
  } else if (head.IsWord(u"KILL")) {
    reader.Expect(u"KILL");
    const int spid = reader.Number();
    reader.ExpectEnd();
    if (spid == session.Spid()) throw SqlError(QStringLiteral("Cannot use KILL to kill your own process."));
    if (!server_.EndSession(spid))
      throw SqlError(QStringLiteral("Process ID %1 is not an active process ID.").arg(spid));
  } else if (head.IsWord(u"DBCC") || head.IsWord(u"BACKUP") || head.IsWord(u"RESTORE") ||
             (head.IsWord(u"SET") && !reader.PeekWord(u"TRANSACTION", 1))) {
    throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.").arg(reader.Rest().simplified()));
  } else {
    outcome.handled = false;
    outcome.statement = reader.Rest();
  }
  return outcome;
}
