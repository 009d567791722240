#include "tests/printing/GenelimpFixture.h"

#include "platform/data/Session.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/LiveHeap.h"
#include "tests/fixtures/RecordingPrintQueue.h"

#include <sqlite3.h>

namespace {

// The rows SQLite hands out of statements that read the table, and the heap
// held at two points of the walk.
struct LecturasTabla {
  QByteArray tabla;
  qint64 filas = 0;
  qint64 heapEnMil = 0;
  qint64 heapAlFinal = 0;
  qint64 final = 0;

  static int Fila(unsigned tipo, void* contexto, void* sentencia, void*) {
    auto& lecturas = *static_cast<LecturasTabla*>(contexto);
    if (tipo != SQLITE_TRACE_ROW) return 0;
    const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(sentencia));
    if (!sql || !QByteArray(sql).startsWith("SELECT") || !QByteArray(sql).contains(lecturas.tabla)) return 0;
    ++lecturas.filas;
    if (lecturas.filas == 1000) lecturas.heapEnMil = LiveHeapBytes();
    if (lecturas.filas == lecturas.final) lecturas.heapAlFinal = LiveHeapBytes();
    return 0;
  }
};

}  // namespace

// A million customers behind "Conexion": each line's lookup reads its row
// through the index, never a block of the table, and ten thousand lookups
// hold no more memory than a thousand.
TEST_F(Genelimp, EachLookupOfAMillionRowTableReadsOnlyItsRow) {
  constexpr int kClientes = 1000000;
  constexpr int kLineas = 10000;
  RecordingPrintQueue cola;
  Ejecutar(u"CREATE TABLE CLIENTE (Codigo VARCHAR(10), Nombre VARCHAR(40) NULL, "
           "CONSTRAINT CLIENTE_Clave1 PRIMARY KEY (Codigo))"_qs);
  Ejecutar(u"ALTER TABLE LTEMPIMP ADD CodigoCliente VARCHAR(10) NULL"_qs);
  Impreso(u"FAC"_qs, u"[SISTEMA]\r\nConexion=CLIENTE>CodigoCliente\r\nInicioLineas=0\r\nFinLineas=9999\r\nAlturaLinea=1\r\n"
                     "[LINEAS]\r\nCamp=0;0;0;CLIENTE.Nombre"_qs,
          u"Oficina 2"_qs, u"Texto"_qs);
  Documentos(1);
  auto formulario = Formulario();
  const std::shared_ptr<Connection> base = Session::Default().OpenDatabase(BaseDatosBDE(u"Database"_qs));
  Connection& conexion = *base;
  conexion.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                   "INSERT INTO CLIENTE (Codigo, Nombre) SELECT printf('C%07d', i), printf('Nombre %07d', i) FROM n"_qs
                       .arg(kClientes));
  conexion.Execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                   "INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, CodigoCliente) "
                   "SELECT 1, i, 0, printf('C%07d', (i * 7919) % %2 + 1) FROM n"_qs
                       .arg(kLineas)
                       .arg(kClientes));
  formulario->LTemporal->Refresh();
  LecturasTabla lecturas;
  lecturas.tabla = "CLIENTE";
  lecturas.final = kLineas;
  sqlite3_trace_v2(conexion.Handle(), SQLITE_TRACE_ROW, &LecturasTabla::Fila, &lecturas);
  formulario->ImprimirImpreso();
  sqlite3_trace_v2(conexion.Handle(), 0, nullptr, nullptr);
  // Opening reads one row, the search the row it finds and the next.
  EXPECT_LE(lecturas.filas, 3 * kLineas);
  EXPECT_LT(lecturas.heapAlFinal - lecturas.heapEnMil, 2 << 20) << lecturas.heapEnMil << " " << lecturas.heapAlFinal;
  ASSERT_EQ(cola.jobs.size(), 1);
  const QList<QByteArray> impresas = cola.jobs[0].bytes.split('\r');
  ASSERT_EQ(impresas.size(), kLineas + 1);
  for (int i : {1, 2, 5000, kLineas})
    EXPECT_EQ(impresas[i - 1].trimmed(), u"Nombre %1"_qs.arg((i * 7919) % kClientes + 1, 7, 10, QChar(u'0')).toLatin1());
}
