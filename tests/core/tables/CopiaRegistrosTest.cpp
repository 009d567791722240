#include "core/tables/CopiaRegistros.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

const QString kMovimientos = u"MOVIMIENTOS"_qs;

// A company's folder with the moves table: Codigo (key), Fecha, Importe
// (decimal), Cantidad (float), Concepto (text of 10).
class Empresa {
 public:
  Empresa(const TemporaryFolder& raiz, const QString& nombre) : carpeta_(raiz.File(nombre)) {
    QDir().mkpath(carpeta_);
    Table tabla;
    tabla.SetDatabaseName(carpeta_);
    tabla.SetTableName(kMovimientos);
    tabla.FieldDefs().Add(u"Codigo"_qs, ftInteger);
    tabla.FieldDefs().Add(u"Fecha"_qs, ftDateTime);
    tabla.FieldDefs().Add(u"Importe"_qs, ftBCD);
    tabla.FieldDefs().Add(u"Cantidad"_qs, ftFloat);
    tabla.FieldDefs().Add(u"Concepto"_qs, ftString, 10);
    tabla.IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
    tabla.CreateTable();
  }
  QString Carpeta() const { return carpeta_; }
  QString Archivo() const { return QDir(carpeta_).filePath(QString::fromLatin1(Session::kDataFile)); }
  std::unique_ptr<Table> Abrir() const {
    auto tabla = std::make_unique<Table>();
    tabla->SetDatabaseName(carpeta_);
    tabla->SetTableName(kMovimientos);
    tabla->Open();
    return tabla;
  }

 private:
  QString carpeta_;
};

// Each row of a file's moves as the file holds it: every value with its
// storage class, REALs with all 17 digits.
QStringList filas(const QString& archivo) {
  QStringList leidas;
  {
    QSqlDatabase base = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"copia-registros"_qs);
    base.setDatabaseName(archivo);
    EXPECT_TRUE(base.open());
    QSqlQuery consulta(base);
    EXPECT_TRUE(consulta.exec(
        u"SELECT Codigo, typeof(Fecha), Fecha, typeof(Importe), CASE WHEN Importe IS NOT NULL THEN printf('%!.17g', "
        "Importe) END, typeof(Cantidad), CASE WHEN Cantidad IS NOT NULL THEN printf('%!.17g', Cantidad) END, "
        "typeof(Concepto), Concepto FROM MOVIMIENTOS ORDER BY Codigo"_qs));
    while (consulta.next()) {
      QStringList valores;
      for (int i = 0; i < 9; ++i) valores.append(consulta.value(i).toString());
      leidas.append(valores.join(u'|'));
    }
  }
  QSqlDatabase::removeDatabase(u"copia-registros"_qs);
  return leidas;
}

void ejecutar(const QString& archivo, const QStringList& sentencias) {
  {
    QSqlDatabase base = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"copia-registros"_qs);
    base.setDatabaseName(archivo);
    ASSERT_TRUE(base.open());
    QSqlQuery consulta(base);
    for (const QString& sentencia : sentencias) ASSERT_TRUE(consulta.exec(sentencia)) << sentencia.toStdString();
  }
  QSqlDatabase::removeDatabase(u"copia-registros"_qs);
}

}  // namespace

// "Agregar" to another company keeps every value as the source holds it:
// milliseconds of a date, every digit of a decimal or a float, NULLs; an
// empty text becomes NULL as the fields keep it.
TEST(CopiaRegistros, AgregarKeepsDatesDecimalsFloatsAndNullsExactly) {
  const TemporaryFolder raiz;
  const Empresa origen(raiz, u"origen"_qs), destino(raiz, u"destino"_qs);
  ejecutar(origen.Archivo(),
           {u"INSERT INTO MOVIMIENTOS VALUES (1, '2024-02-29 23:59:59.999', 12345678.12345678, 0.30000000000000004, "
            "'Cobro')"_qs,
            u"INSERT INTO MOVIMIENTOS VALUES (2, NULL, NULL, NULL, NULL)"_qs,
            u"INSERT INTO MOVIMIENTOS VALUES (3, '2024-01-01 00:00:00', 12, 1e-300, '')"_qs,
            u"INSERT INTO MOVIMIENTOS VALUES (4, '1800-05-06 07:08:09.500', -0.00000001, -123456789012.5, 'Año ñandú')"_qs,
            u"INSERT INTO MOVIMIENTOS VALUES (5, '2031-12-31 12:00:00.001', 0.1, 2.2250738585072014e-308, "
            "'0123456789')"_qs});
  ejecutar(destino.Archivo(), {u"INSERT INTO MOVIMIENTOS VALUES (4, NULL, NULL, NULL, 'Ya estaba')"_qs});
  auto tablaOrigen = origen.Abrir();
  auto tablaDestino = destino.Abrir();

  CopiarRegistros(*tablaOrigen, *tablaDestino, u"Agregar"_qs);

  QStringList esperadas = filas(origen.Archivo());
  ASSERT_EQ(esperadas.size(), 5);
  esperadas[2] = esperadas[2].section(u'|', 0, 6) + u"|null|"_qs;
  esperadas[3] = u"4|null||null||null||text|Ya estaba"_qs;  // the record already there is not overwritten
  EXPECT_EQ(filas(destino.Archivo()), esperadas);
  EXPECT_EQ(esperadas[0], u"1|text|2024-02-29 23:59:59.999|real|12345678.12345678|real|0.30000000000000004|text|Cobro"_qs);
}

// A field copied between fields of different types goes by its text, as
// it always did: a number too large for a short integer, or a date-time's
// text that a date does not read, leaves that field as it was.
TEST(CopiaRegistros, CopiarCamposBetweenDifferentTypesGoesByTheText) {
  const TemporaryFolder raiz;
  const Empresa origen(raiz, u"origen"_qs);
  ejecutar(origen.Archivo(), {u"INSERT INTO MOVIMIENTOS VALUES (100000, '2024-03-15 10:20:30', 7.25, 3, 'Texto largo')"_qs});
  auto tablaOrigen = origen.Abrir();

  const QString carpeta = raiz.File(u"otros-tipos"_qs);
  QDir().mkpath(carpeta);
  Table distinta;
  distinta.SetDatabaseName(carpeta);
  distinta.SetTableName(kMovimientos);
  distinta.FieldDefs().Add(u"Codigo"_qs, ftSmallint);
  distinta.FieldDefs().Add(u"Fecha"_qs, ftDate);
  distinta.FieldDefs().Add(u"Importe"_qs, ftString, 20);
  distinta.FieldDefs().Add(u"Cantidad"_qs, ftInteger);
  distinta.FieldDefs().Add(u"Concepto"_qs, ftString, 5);
  distinta.CreateTable();
  distinta.Open();
  distinta.Insert();
  distinta.FieldByName(u"Codigo"_qs).SetAsInteger(7);

  CopiarCampos(*tablaOrigen, distinta);

  EXPECT_EQ(distinta.FieldByName(u"Codigo"_qs).AsInteger(), 7);
  EXPECT_TRUE(distinta.FieldByName(u"Fecha"_qs).IsNull());
  EXPECT_EQ(distinta.FieldByName(u"Importe"_qs).AsString(), u"7,25"_qs);
  EXPECT_EQ(distinta.FieldByName(u"Cantidad"_qs).AsInteger(), 3);
  EXPECT_EQ(distinta.FieldByName(u"Concepto"_qs).AsString(), u"Texto"_qs);
  distinta.Cancel();
}
