#pragma once

#include <QString>
#include <QTemporaryDir>

#include <optional>

// The data folders the benchmarks work on, each made once, in the folder
// ZEMWIN_BENCH_DATA names (kept), or else in a temporary folder of the run
// that the benchmarks' own processes are given. Every folder
// holds the one SQLite file of a data folder; its keyed tables are kept
// without row ids, as the embedded server keeps them.
//
// ARTICULOS: Codigo (key), Nombre (index PorNombre, in another order than
// the key), Precio, Familia.
// PEDIDOS: Pedido (key), Cliente; LINEAS: Pedido, Linea (key), Articulo,
// Cantidad, kLinesPerOrder lines for each order.
// MOVIMIENTOS: Codigo (key), Fecha (DATETIME), Importe (decimal), Cantidad
// (FLOAT), Concepto (text: some NULL, some empty).
class BenchData {
 public:
  static constexpr int kOrders = 2000;
  static constexpr int kLinesPerOrder = 100;
  static constexpr int kFilterRows = 100000;

  // Names the folder made for the run, in a benchmark's own process.
  static constexpr char kRootVariable[] = "ZEMWIN_BENCH_DATA";

  static BenchData& Get();
  void MakeAll();

  // Records of the large table: ZEMWIN_BENCH_ROWS, 1,000,000 by default.
  int Rows() const { return rows_; }
  const QString& LargeFolder();   // ARTICULOS with Rows() records
  const QString& FilterFolder();  // ARTICULOS with kFilterRows records
  const QString& EmptyFolder();   // ARTICULOS with no records
  const QString& OrdersFolder();  // PEDIDOS and LINEAS
  const QString& MovesFolder();       // MOVIMIENTOS with kFilterRows records
  const QString& LargeMovesFolder();  // MOVIMIENTOS with Rows() records
  const QString& EmptyMovesFolder();  // MOVIMIENTOS with no records
  const QString& Root() const { return root_; }

  static QString DataFile(const QString& folder);
  // The article fields as both sides of a benchmark write and look for them.
  static QString ArticleName(int codigo);
  static double ArticlePrice(int codigo) { return (codigo * 37) % 1000 + 0.5; }

 private:
  BenchData();
  QString folderNamed(const QString& name) const;
  bool made(const QString& name) const;
  QString makeArticles(const QString& name, int rows);
  QString makeOrders();
  QString makeMoves(const QString& name, int rows);

  std::optional<QTemporaryDir> dir_;
  QString root_;
  int rows_;
  QString large_;
  QString filter_;
  QString empty_;
  QString orders_;
  QString moves_;
  QString largeMoves_;
  QString emptyMoves_;
};
