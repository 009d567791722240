#include "printing/TablasImpreso.h"

#include "platform/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"
#include "printing/formlang/EjecucionImpreso.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/printing/formlang/EntornoEnMemoria.h"

namespace {

// A caller's two temporary tables on the company database, LTemporal the
// detail of Temporal, and IMPRESO with two printouts.
class TablasImpresoTest : public ConexionesFixture {
 protected:
  TablasImpresoTest() {
    Iniciar();
    for (const QString& sql : {
             u"CREATE TABLE TEMPIMP (CodigoTemporal INTEGER, CodigoImpreso VARCHAR(20) NULL, NumeroCopias INTEGER NULL, "
             "Cambio FLOAT NULL, CONSTRAINT TEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal))"_qs,
             u"CREATE TABLE LTEMPIMP (CodigoTemporal INTEGER, Linea SMALLINT, LineaMemo SMALLINT, "
             "Instrucciones VARCHAR(40) NULL, Importe FLOAT NULL, Articulo VARCHAR(20) NULL, "
             "CONSTRAINT LTEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal, Linea, LineaMemo))"_qs,
             u"CREATE TABLE IMPRESO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, TipoDocumento VARCHAR(40) NULL, "
             "Modo VARCHAR(10) NULL, Instrucciones TEXT NULL, Formato VARCHAR(30) NULL, "
             "ImpresoraPorDefecto VARCHAR(100) NULL, CONSTRAINT IMPRESO_Clave1 PRIMARY KEY (Codigo))"_qs,
             u"INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Instrucciones, Formato) VALUES "
             "('FAC', 'Factura', 'Grafico', '[SISTEMA]\r\nFinLineas=9999\r\n[CABECERA]\r\nCabe=1\r\n[LINEAS]\r\n"
             "Lin=1\r\n[PIE]\r\nSuma=1;1;1;Importe', 'A4'), "
             "('ALB', 'Albarán', 'Texto', '[CABECERA]\r\nAlbaran=1', '100x50')"_qs,
         })
      Ejecutar(sql);
    AbrirTabla(temporal, u"TEMPIMP"_qs);
    origen.SetDataSet(&temporal);
    lineas.SetIndexFieldNames(u"CodigoTemporal;Linea;LineaMemo"_qs);
    lineas.SetMasterSource(&origen);
    lineas.SetMasterFields(u"CodigoTemporal"_qs);
    AbrirTabla(lineas, u"LTEMPIMP"_qs);
    AbrirTabla(impreso, u"IMPRESO"_qs);
    entorno.ejecucion = &ejecucion;
    ejecucion.codigoImpresoActual = u"FAC"_qs;
  }

  static void AbrirTabla(Table& tabla, const QString& nombre) {
    tabla.SetDatabaseName(BaseDatosBDE(u"Database"_qs));
    tabla.SetTableName(nombre);
    tabla.Open();
  }

  int Filas(const QString& condicion) {
    Table cuenta;
    AbrirTabla(cuenta, u"LTEMPIMP"_qs);
    cuenta.SetFilter(condicion);
    cuenta.SetFiltered(true);
    return cuenta.RecordCount();
  }

  Table temporal;
  DataSource origen;
  Table lineas;
  Table impreso;
  TablasImpreso tablas{temporal, &lineas, impreso};
  EntornoEnMemoria entorno;
  EjecucionImpreso ejecucion{tablas, entorno};
};

}  // namespace

TEST_F(TablasImpresoTest, DocumentsLinesAndContinuationRowsOfAnEarlierRun) {
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, NumeroCopias, Cambio) VALUES (1, 2, 0), (2, NULL, 1.5)"_qs);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, Instrucciones, Importe, Articulo) VALUES "
           "(1, 1, 0, NULL, 10, 'A'), (1, 1, 1, NULL, 99, 'memo'), (1, 2, 0, NULL, 2.5, 'B'), "
           "(1, 2, 1, NULL, 99, 'memo'), (1, 2, 2, NULL, 99, 'memo'), (1, 3, 0, NULL, 4, 'C'), "
           "(2, 1, 0, 'Inst=NoSumaYSigue', 7, 'D'), (2, 2, 0, NULL, 1, 'E')"_qs);
  temporal.Refresh();
  ejecucion.destino = DestinoSalida::Impresora;
  ASSERT_TRUE(ejecucion.Preparar(ejecucion.CodigoDocumentoInicial()));
  ASSERT_TRUE(ejecucion.Recorrer());

  EXPECT_EQ(Filas(u"LineaMemo > 0"_qs), 0);
  EXPECT_EQ(Filas(u"LineaMemo = 0"_qs), 5);
  // Two copies of the first document, of three lines each; one of the second.
  EXPECT_EQ(entorno.Registrado(u"Lin="_qs).size(), 8);
  QStringList totales;
  for (const QString& suma : entorno.Registrado(u"Suma="_qs)) totales << suma.section(u"total="_qs, 1).section(u' ', 0, 0);
  EXPECT_EQ(totales, QStringList({u"16.5"_qs, u"16.5"_qs, u"1"_qs}));
  EXPECT_EQ(ejecucion.cambioDocumento, 1.5);
}

TEST_F(TablasImpresoTest, KeysFieldsAndDefinitions) {
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal, CodigoImpreso) VALUES (7, 'ALB'), (8, 'Por Defecto')"_qs);
  temporal.Refresh();
  tablas.PrimerDocumento();
  EXPECT_EQ(tablas.ClaveDocumento(), u"7;"_qs);
  EXPECT_EQ(tablas.CampoDocumento(u"CodigoImpreso"_qs), QVariant(u"ALB"_qs));
  EXPECT_EQ(tablas.CampoDocumento(u"NumeroCopias"_qs), QVariant());
  EXPECT_FALSE(tablas.CampoDocumento(u"NoExiste"_qs).has_value());
  EXPECT_EQ(ejecucion.CodigoDocumento(), u"ALB"_qs);
  tablas.SiguienteDocumento();
  EXPECT_EQ(ejecucion.CodigoDocumento(), u"FAC"_qs);

  const std::optional<DefinicionImpreso> albaran = tablas.Impreso(u"ALB"_qs);
  ASSERT_TRUE(albaran);
  EXPECT_EQ(albaran->descripcion, u"Albarán"_qs);
  EXPECT_EQ(albaran->modo, u"Texto"_qs);
  EXPECT_EQ(albaran->formato, u"100x50"_qs);
  EXPECT_FALSE(tablas.Impreso(u"NOEXISTE"_qs));
  EXPECT_FALSE(tablas.Impreso(QString()));

  ASSERT_TRUE(ejecucion.Preparar(u"ALB"_qs));
  EXPECT_TRUE(ejecucion.geometria.modoTexto);
  EXPECT_EQ(ejecucion.geometria.anchoPapel, 100);
  // A code without a row takes the current printout's.
  ASSERT_TRUE(ejecucion.Preparar(u"NOEXISTE"_qs));
  EXPECT_FALSE(ejecucion.geometria.modoTexto);
  EXPECT_EQ(ejecucion.geometria.anchoPapel, 210);
}

TEST_F(TablasImpresoTest, LinesOfADocumentWithoutInstructionsField) {
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal) VALUES (1)"_qs);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, Importe) VALUES (1, 1, 0, 3)"_qs);
  temporal.Refresh();
  tablas.PrimerDocumento();
  tablas.PrimeraLinea();
  ASSERT_FALSE(tablas.FinLineas());
  const auto valores = tablas.ValoresLinea();
  ASSERT_EQ(valores.size(), 6);
  EXPECT_EQ(valores[4], std::make_pair(u"Importe"_qs, QVariant(3.0)));
  EXPECT_EQ(valores[5], std::make_pair(u"Articulo"_qs, QVariant()));
  EXPECT_EQ(tablas.InstruccionesLinea(), std::optional<QString>(QString()));
}

// Only the document in print loses its continuation rows, all at once or
// none: a refused deletion leaves every row where it was.
TEST_F(TablasImpresoTest, ContinuationRowsOfTheDocumentGoAllAtOnceOrNone) {
  Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal) VALUES (1), (2)"_qs);
  QStringList filas;
  for (int documento = 1; documento <= 2; ++documento)
    for (int memo = 0; memo <= 5000; ++memo) filas << u"(%1, 1, %2, NULL, NULL, 'p')"_qs.arg(documento).arg(memo);
  Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, Instrucciones, Importe, Articulo) VALUES "_qs +
           filas.join(u','));
  temporal.Refresh();
  tablas.PrimerDocumento();
  Session::Default().OpenDatabase(BaseDatosBDE(u"Database"_qs))->Execute(
      u"CREATE TRIGGER Rechazo BEFORE DELETE ON LTEMPIMP WHEN OLD.LineaMemo = 4000 BEGIN SELECT RAISE(ABORT, 'no'); END"_qs);
  EXPECT_THROW(tablas.BorrarContinuaciones(), Exception);
  EXPECT_EQ(Filas(u"LineaMemo > 0"_qs), 10000);
  Session::Default().OpenDatabase(BaseDatosBDE(u"Database"_qs))->Execute(u"DROP TRIGGER Rechazo"_qs);
  tablas.BorrarContinuaciones();
  EXPECT_EQ(Filas(u"LineaMemo > 0"_qs), 5000);
  EXPECT_EQ(Filas(u"LineaMemo > 0 AND CodigoTemporal = 2"_qs), 5000);
  EXPECT_EQ(lineas.RecordCount(), 1);
}
