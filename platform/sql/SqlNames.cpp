#include "platform/sql/SqlRewrite.h"

#include "platform/sql/Catalogue.h"
#include "platform/sql/MappingCache.h"
#include "platform/sql/ServerFiles.h"
#include "platform/sql/SqlError.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/SqlText.h"

#include <QFileInfo>

namespace {

bool IsNamePart(const SqlNode& node) {
  return node.Is(SqlTokenKind::Word) || node.Is(SqlTokenKind::QuotedName);
}

bool IsCatalogueView(const QString& name) {
  for (QStringView view : {u"sysobjects", u"syscolumns", u"sysindexes", u"sysindexkeys"})
    if (name.compare(view, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool IsOwner(const QString& name) { return name.isEmpty() || name.compare(u"dbo", Qt::CaseInsensitive) == 0; }

}  // namespace

void Unsupported(const QString& construct) {
  throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.").arg(construct.simplified()));
}

QString SqlObjects::SchemaOf(const QString& database) const {
  if (!context_.databaseName.isEmpty() && database.compare(context_.databaseName, Qt::CaseInsensitive) == 0)
    return QStringLiteral("main");
  Attachments& attached = context_.connection->Attached();
  const QString schema = ServerFiles::IsMaster(database) ? QString::fromLatin1(ServerFiles::kMasterName)
                                                         : database.toUpper();
  const QString file = context_.serverFolder.isEmpty() ? QString()
                                                       : ServerFiles::DatabaseFile(context_.serverFolder, database);
  if (file.isEmpty() || !QFileInfo::exists(file)) {
    // Outside the server only what is attached for good (the general database).
    if (attached.Contains(schema)) {
      reusable_ = false;
      return SqlText::Quoted(schema);
    }
    throw SqlError(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.")
                       .arg(database));
  }
  reusable_ = false;
  attached.Use(schema, file, named_);
  if (!named_.contains(schema, Qt::CaseInsensitive)) named_.append(schema);
  return SqlText::Quoted(schema);
}

QString SqlObjects::CatalogueView(const QString& database, const QString& schema, const QString& view) const {
  if (schema == u"main") return view;
  reusable_ = false;
  const QString file =
      context_.serverFolder.isEmpty() ? QString() : ServerFiles::DatabaseFile(context_.serverFolder, database);
  QString name = AttachedCatalogueView(*context_.connection, schema.mid(1, schema.size() - 2), file, view.toLower());
  if (context_.cache) context_.cache->ForgetTemporaryNames();
  return name;
}

bool SqlObjects::IsTemporary(const QString& name) const {
  if (context_.cache) return context_.cache->IsTemporary(name);
  return !context_.connection
              ->QueryRows(QStringLiteral("SELECT 1 FROM temp.sqlite_master WHERE name = ? COLLATE NOCASE"), {name})
              .rows.isEmpty();
}

QStringList SqlObjects::PrimaryKeyOf(const QString& schema, const QString& table) const {
  QString plainSchema = schema;
  if (plainSchema.startsWith(u'"')) plainSchema = plainSchema.mid(1, plainSchema.size() - 2);
  const bool cached = context_.cache && (plainSchema == u"main" || plainSchema == u"temp");
  if (cached)
    if (std::optional<QStringList> key = context_.cache->PrimaryKey(plainSchema, table)) return *key;
  QStringList columns;
  const SqlRows rows = context_.connection->QueryRows(
      QStringLiteral("SELECT name FROM pragma_table_info(?, ?) WHERE pk > 0 ORDER BY pk"), {table, plainSchema});
  for (const QVariantList& row : rows.rows) columns << row[0].toString();
  if (cached) context_.cache->KeepPrimaryKey(plainSchema, table, columns);
  else reusable_ = false;
  return columns;
}

SqlChain ReadChain(const SqlNodes& nodes, size_t i) {
  SqlChain chain;
  chain.begin = i;
  auto addPart = [&](const SqlNode& node) {
    chain.written << node.token.text.toString();
    // A plain word is its own name: both share one text.
    chain.names << (node.token.Is(SqlTokenKind::Word) ? chain.written.last() : node.token.Value());
  };
  addPart(nodes[i]);
  ++i;
  while (i < nodes.size() && nodes[i].Is(SqlTokenKind::Dot)) {
    if (i + 1 < nodes.size() && nodes[i + 1].Is(SqlTokenKind::Dot)) {  // db..T
      chain.names << QString();
      chain.written << QString();
      ++i;
    } else if (i + 1 < nodes.size() && (IsNamePart(nodes[i + 1]) || nodes[i + 1].token.IsSymbol(u"*"))) {
      addPart(nodes[i + 1]);
      i += 2;
    } else {
      break;
    }
  }
  chain.end = i;
  return chain;
}

namespace {

// The parts after the owner and the database are dropped or resolved.
QStringList ResolveParts(const SqlChain& chain, const SqlObjects& objects) {
  const QStringList& names = chain.names;
  QStringList parts = chain.written;
  if (names.size() == 2 && names[0].compare(u"INFORMATION_SCHEMA", Qt::CaseInsensitive) == 0) {
    if (names[1].compare(u"TABLES", Qt::CaseInsensitive) == 0) return {QStringLiteral("information_schema_tables")};
    if (names[1].compare(u"COLUMNS", Qt::CaseInsensitive) != 0)
      throw SqlError(QStringLiteral("Invalid object name '%1'.").arg(chain.written.join(u'.')));
    return {QStringLiteral("information_schema_columns")};
  }
  if (names.size() >= 3 && IsOwner(names[1])) {
    if (names.size() > 3) Unsupported(chain.written.join(u'.'));
    const QString schema = objects.SchemaOf(names[0]);
    if (IsCatalogueView(names[2])) return {objects.CatalogueView(names[0], schema, names[2])};
    return {schema, parts[2]};
  }
  if (names.size() >= 2 && names[0].compare(u"dbo", Qt::CaseInsensitive) == 0) parts.removeFirst();
  if (parts.size() > 3 || parts.contains(QString())) Unsupported(chain.written.join(u'.'));
  return parts;
}

}  // namespace

void RefuseTemporaryTable(const SqlChain& chain) {
  if (chain.names.size() == 1 && chain.names[0].startsWith(u'#')) Unsupported(chain.names[0]);
}

QString RenderChain(const SqlChain& chain, const SqlObjects& objects) {
  RefuseTemporaryTable(chain);
  return ResolveParts(chain, objects).join(u'.');
}

std::pair<QString, QString> QualifiedTable(const SqlChain& chain, const SqlObjects& objects) {
  RefuseTemporaryTable(chain);
  QStringList parts = ResolveParts(chain, objects);
  if (parts.size() > 2) Unsupported(chain.written.join(u'.'));
  const QString name = parts.takeLast();
  if (!parts.isEmpty()) return {parts[0], name};
  // Unqualified, SQLite would look in every attached file after this one.
  const std::vector<SqlToken> table = TokenizeSql(name);
  const QString plain = table.size() == 1 ? table[0].Value() : name;
  return {objects.IsTemporary(plain) ? QString() : QStringLiteral("main"), name};
}

QString RenderTableChain(const SqlChain& chain, const SqlObjects& objects) {
  const auto [schema, name] = QualifiedTable(chain, objects);
  return schema.isEmpty() ? name : schema + u'.' + name;
}

std::pair<QString, QString> TableOfChain(const SqlChain& chain, const SqlObjects& objects) {
  const QStringList parts = ResolveParts(chain, objects);
  const std::vector<SqlToken> table = TokenizeSql(parts.last());
  const QString name = table.size() == 1 ? table[0].Value() : parts.last();
  return {parts.size() == 2 ? parts[0] : QStringLiteral("main"), name};
}
