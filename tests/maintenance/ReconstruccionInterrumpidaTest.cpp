#include "core/startup/Geneinic.h"
#include "maintenance/actualizacion/ProcesoActualizacion.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/maintenance/ActualizacionFixture.h"

#include <iterator>

namespace {

constexpr char kCarpeta[] = "ZEM_PROGRAM_FOLDER";
constexpr int kFilas = 200000;

// Another copy of the program rebuilding the customers of company 1, each
// statement told and run only once the first instance lets it.
void reconstruir() {
  QDir::setCurrent(qEnvironmentVariable(kCarpeta));
  const ScriptedPresenter sinMensajes;
  TfGENEINIC servicios({});
  EjecucionActualizacion ejecucion;
  ejecucion.AlEjecutar = [](const QString& sql) {
    SecondProcess::Report(sql);
    SecondProcess::NextLine();
  };
  OpcionesActualizacion opciones;
  opciones.realizarCopiaSeguridad = false;
  opciones.comprobarEstadoTablas = false;
  opciones.basesDatos = {u"ZEMEMP1"_qs};
  opciones.tablas = {u"CLIENTES"_qs};
  opciones.definiciones = QString::fromLatin1(ActualizacionFixture::kScripts);
  opciones.mapeado = u"CLIENTES=Tlf,Telefono\r\n"_qs;
  RealizarActualizacion(ejecucion, opciones);
  SecondProcess::Report(u"FIN"_qs);
}

[[maybe_unused]] const bool registrado = SecondProcess::RegisterJob(u"reconstruir"_qs, reconstruir);

const QString kAntiguas = u"Codigo\r\nNombre\r\nTlf\r\nAntiguo\r\nNumero"_qs;
const QString kNuevas = u"Codigo\r\nNombre\r\nTelefono\r\nNuevo\r\nNumero"_qs;

struct Punto {
  const char* antes;  // the statement it is killed before
  const QString& columnas;
};

const Punto kPuntos[] = {
    {"USE ZEMEMP1; INSERT INTO TEMP_CLIENTES", kAntiguas}, {"USE ZEMEMP1; DROP TABLE CLIENTES", kAntiguas},
    {"USE ZEMEMP1; CREATE INDEX", kAntiguas},               {"USE ZEMEMP1; COMMIT TRANSACTION", kAntiguas},
    {"USE ZEMEMP1; UPDATE CLIENTES", kNuevas},
};

class ReconstruccionInterrumpida : public ActualizacionFixture, public ::testing::WithParamInterface<int> {};

}  // namespace

// Killed before each step of the table's transaction, the rebuild leaves
// the old table whole; killed once it committed, the new one.
TEST_P(ReconstruccionInterrumpida, AProgramKilledAnywhereLeavesTheTableAsBeforeOrAsAfter) {
  const QString archivo = carpeta.File(u"SERVIDOR/ZEMEMP1.sqlite"_qs);
  OpenConnection(archivo)->Execute(
      u"WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
      "INSERT INTO CLIENTES (Codigo, Nombre, Tlf, Antiguo, Numero) SELECT i, 'Cliente ' || i, i, 'x', i FROM n"_qs.arg(
          kFilas + 7));
  const Punto& punto = kPuntos[GetParam()];
  SCOPED_TRACE(punto.antes);
  SecondProcess otra(u"reconstruir"_qs, {{kCarpeta, carpeta.Path()}});
  for (QString sentencia = otra.ReadReport(); !sentencia.startsWith(QLatin1String(punto.antes));
       sentencia = otra.ReadReport()) {
    ASSERT_NE(sentencia, u"FIN"_qs);
    otra.Send(QString());
  }
  // Meanwhile another program's write to the table waits, then is refused.
  if (QLatin1String(punto.antes) == QLatin1String("USE ZEMEMP1; CREATE INDEX")) {
    ConnectionSettings::SetBusyTimeout(200);
    EXPECT_TRUE(Filas(u"UPDATE ZEMEMP1.dbo.CLIENTES SET Nombre = 'otro' WHERE Codigo = 10"_qs)
                    .contains(u"Record locked by another user"_qs));
  }
  otra.Kill();
  EXPECT_TRUE(otra.Crashed());
  const std::shared_ptr<Connection> base = OpenConnection(archivo);
  EXPECT_EQ(base->QueryRows(u"PRAGMA integrity_check"_qs).rows.value(0).value(0).toString(), u"ok"_qs);
  EXPECT_EQ(Columnas(u"ZEMEMP1"_qs, u"CLIENTES"_qs), punto.columnas);
  EXPECT_EQ(Filas(u"SELECT COUNT(*) FROM ZEMEMP1.dbo.CLIENTES"_qs), QString::number(kFilas));
  EXPECT_EQ(Objetos(u"ZEMEMP1"_qs), u"CLIENTES"_qs);
}

INSTANTIATE_TEST_SUITE_P(Puntos, ReconstruccionInterrumpida, ::testing::Range(0, static_cast<int>(std::size(kPuntos))));
