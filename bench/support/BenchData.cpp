#include "bench/support/BenchData.h"

#include "bench/support/RawSqlite.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

// A name order unrelated to the key order: 7919 is prime, so the names stay
// distinct for every row count it does not divide.
constexpr int kNameStep = 7919;

// As the system defines it, then made again without row ids.
void CreateTable(const QString& folder, const QString& name, const FieldDefs& fields, const IndexDefs& indexes) {
  {
    Table table;
    table.SetDatabaseName(folder);
    table.SetTableName(name);
    for (const FieldDef& field : fields) table.FieldDefs().Add(field.Name, field.DataType, field.Size);
    for (const IndexDef& index : indexes) table.IndexDefs().Add(index.Name, index.Fields, index.Options);
    table.CreateTable();
  }
  RawConnection raw(BenchData::DataFile(folder));
  QByteArrayList statements;
  RawStatement definitions(raw, "SELECT sql FROM sqlite_master WHERE tbl_name = ? AND sql IS NOT NULL ORDER BY type DESC");
  definitions.Bind(1, name);
  while (definitions.Step()) statements.append(definitions.Text(0).toUtf8());
  statements.front() += " WITHOUT ROWID";
  raw.Execute("BEGIN");
  raw.Execute(QStringLiteral("DROP TABLE \"%1\"").arg(name).toUtf8().constData());
  for (const QByteArray& statement : statements) raw.Execute(statement.constData());
  raw.Execute("COMMIT");
}

}  // namespace

BenchData& BenchData::Get() {
  static BenchData data;
  return data;
}

BenchData::BenchData() : root_(qEnvironmentVariable(kRootVariable)) {
  if (root_.isEmpty()) root_ = dir_.emplace().path();
  const int rows = qEnvironmentVariableIntValue("ZEMWIN_BENCH_ROWS");
  rows_ = rows > 0 ? rows : 1000000;
  if ((dir_ && !dir_->isValid()) || rows_ % kNameStep == 0) {
    std::fprintf(stderr, "No benchmark folder, or a row count that is a multiple of %d.\n", kNameStep);
    std::exit(1);
  }
}

QString BenchData::DataFile(const QString& folder) {
  return QDir(folder).filePath(QString::fromLatin1(Session::kDataFile));
}

QString BenchData::ArticleName(int codigo) {
  return QStringLiteral("ARTICULO %1").arg((static_cast<qint64>(codigo) * kNameStep) % Get().Rows(), 7, 10, QChar(u'0'));
}

void BenchData::MakeAll() {
  LargeFolder();
  FilterFolder();
  EmptyFolder();
  OrdersFolder();
  MovesFolder();
  LargeMovesFolder();
  EmptyMovesFolder();
}

// Made once: by the first process, or by an earlier run in the folder
// ZEMWIN_BENCH_DATA names.
QString BenchData::folderNamed(const QString& name) const { return QDir(root_).filePath(name); }

bool BenchData::made(const QString& name) const { return QFile::exists(DataFile(folderNamed(name))); }

const QString& BenchData::LargeFolder() {
  const QString name = QStringLiteral("large-%1").arg(rows_);
  if (large_.isEmpty()) large_ = made(name) ? folderNamed(name) : makeArticles(name, rows_);
  return large_;
}

const QString& BenchData::FilterFolder() {
  const QString name = QStringLiteral("filter");
  if (filter_.isEmpty()) filter_ = made(name) ? folderNamed(name) : makeArticles(name, kFilterRows);
  return filter_;
}

const QString& BenchData::EmptyFolder() {
  const QString name = QStringLiteral("empty");
  if (empty_.isEmpty()) empty_ = made(name) ? folderNamed(name) : makeArticles(name, 0);
  return empty_;
}

const QString& BenchData::OrdersFolder() {
  if (orders_.isEmpty()) orders_ = made(QStringLiteral("orders")) ? folderNamed(QStringLiteral("orders")) : makeOrders();
  return orders_;
}

const QString& BenchData::MovesFolder() {
  const QString name = QStringLiteral("moves");
  if (moves_.isEmpty()) moves_ = made(name) ? folderNamed(name) : makeMoves(name, kFilterRows);
  return moves_;
}

const QString& BenchData::LargeMovesFolder() {
  const QString name = QStringLiteral("moves-%1").arg(rows_);
  if (largeMoves_.isEmpty()) largeMoves_ = made(name) ? folderNamed(name) : makeMoves(name, rows_);
  return largeMoves_;
}

const QString& BenchData::EmptyMovesFolder() {
  const QString name = QStringLiteral("moves-empty");
  if (emptyMoves_.isEmpty()) emptyMoves_ = made(name) ? folderNamed(name) : makeMoves(name, 0);
  return emptyMoves_;
}

QString BenchData::makeArticles(const QString& name, int rows) {
  const QString folder = folderNamed(name);
  QDir().mkpath(folder);
  FieldDefs fields;
  fields.Add(QStringLiteral("Codigo"), ftInteger);
  fields.Add(QStringLiteral("Nombre"), ftString, 40);
  fields.Add(QStringLiteral("Precio"), ftFloat);
  fields.Add(QStringLiteral("Familia"), ftString, 10);
  IndexDefs indexes;
  indexes.Add(QString(), QStringLiteral("Codigo"), ixPrimary);
  indexes.Add(QStringLiteral("PorNombre"), QStringLiteral("Nombre"), 0);
  CreateTable(folder, QStringLiteral("ARTICULOS"), fields, indexes);

  RawConnection raw(DataFile(folder));
  raw.Execute("BEGIN");
  RawStatement insert(raw, "INSERT INTO ARTICULOS (Codigo, Nombre, Precio, Familia) VALUES (?, ?, ?, ?)");
  for (int codigo = 1; codigo <= rows; ++codigo) {
    insert.Bind(1, static_cast<qint64>(codigo));
    insert.Bind(2, ArticleName(codigo));
    insert.Bind(3, ArticlePrice(codigo));
    insert.Bind(4, QStringLiteral("F%1").arg(codigo % 50));
    insert.Step();
    insert.Reset();
  }
  raw.Execute("COMMIT");
  return folder;
}

QString BenchData::makeOrders() {
  const QString folder = folderNamed(QStringLiteral("orders"));
  QDir().mkpath(folder);
  FieldDefs orders;
  orders.Add(QStringLiteral("Pedido"), ftInteger);
  orders.Add(QStringLiteral("Cliente"), ftString, 40);
  IndexDefs orderKey;
  orderKey.Add(QString(), QStringLiteral("Pedido"), ixPrimary);
  CreateTable(folder, QStringLiteral("PEDIDOS"), orders, orderKey);
  FieldDefs lines;
  lines.Add(QStringLiteral("Pedido"), ftInteger);
  lines.Add(QStringLiteral("Linea"), ftInteger);
  lines.Add(QStringLiteral("Articulo"), ftInteger);
  lines.Add(QStringLiteral("Cantidad"), ftFloat);
  IndexDefs lineKey;
  lineKey.Add(QString(), QStringLiteral("Pedido;Linea"), ixPrimary);
  CreateTable(folder, QStringLiteral("LINEAS"), lines, lineKey);

  RawConnection raw(DataFile(folder));
  raw.Execute("BEGIN");
  RawStatement order(raw, "INSERT INTO PEDIDOS (Pedido, Cliente) VALUES (?, ?)");
  RawStatement line(raw, "INSERT INTO LINEAS (Pedido, Linea, Articulo, Cantidad) VALUES (?, ?, ?, ?)");
  for (int pedido = 1; pedido <= kOrders; ++pedido) {
    order.Bind(1, static_cast<qint64>(pedido));
    order.Bind(2, QStringLiteral("CLIENTE %1").arg(pedido % 300));
    order.Step();
    order.Reset();
    for (int linea = 1; linea <= kLinesPerOrder; ++linea) {
      line.Bind(1, static_cast<qint64>(pedido));
      line.Bind(2, static_cast<qint64>(linea));
      line.Bind(3, static_cast<qint64>((pedido * linea) % 5000));
      line.Bind(4, static_cast<double>(linea));
      line.Step();
      line.Reset();
    }
  }
  raw.Execute("COMMIT");
  return folder;
}

QString BenchData::makeMoves(const QString& name, int rows) {
  const QString folder = folderNamed(name);
  QDir().mkpath(folder);
  FieldDefs fields;
  fields.Add(QStringLiteral("Codigo"), ftInteger);
  fields.Add(QStringLiteral("Fecha"), ftDateTime);
  fields.Add(QStringLiteral("Importe"), ftBCD);
  fields.Add(QStringLiteral("Cantidad"), ftFloat);
  fields.Add(QStringLiteral("Concepto"), ftString, 40);
  IndexDefs indexes;
  indexes.Add(QString(), QStringLiteral("Codigo"), ixPrimary);
  CreateTable(folder, QStringLiteral("MOVIMIENTOS"), fields, indexes);

  RawConnection raw(DataFile(folder));
  raw.Execute("BEGIN");
  RawStatement insert(raw, "INSERT INTO MOVIMIENTOS (Codigo, Fecha, Importe, Cantidad, Concepto) VALUES "
                           "(?, datetime('2020-01-01', '+' || ? || ' minutes'), ?, ?, NULLIF(?, '-'))");
  for (int codigo = 1; codigo <= rows; ++codigo) {
    insert.Bind(1, static_cast<qint64>(codigo));
    insert.Bind(2, static_cast<qint64>(codigo) * 37);
    insert.Bind(3, (codigo % 100000) / 100.0);
    insert.Bind(4, codigo / 7.0);
    insert.Bind(5, codigo % 13 == 0 ? QStringLiteral("-") : codigo % 11 == 0 ? QString() : QStringLiteral("MOVIMIENTO %1").arg(codigo));
    insert.Step();
    insert.Reset();
  }
  raw.Execute("COMMIT");
  return folder;
}
