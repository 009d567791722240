#pragma once

#include "printing/Genelimp.h"

#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/fixtures/RecordingPrinter.h"
#include "tests/fixtures/ScriptedDialogs.h"

#include <QTimer>

// The engine form over a caller's temporary tables on the company database
// (the lines' memo row an integer, as the program's own line table holds it),
// with IMPRESO holding the printouts of each test.
class Genelimp : public ConexionesFixture {
 protected:
  Genelimp() {
    Iniciar();
    for (const QString& sql : {
             u"CREATE TABLE TEMPIMP (CodigoTemporal INTEGER, CodigoImpreso VARCHAR(20) NULL, NumeroCopias INTEGER NULL, "
             "CONSTRAINT TEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal))"_qs,
             u"CREATE TABLE LTEMPIMP (CodigoTemporal INTEGER, Linea SMALLINT, LineaMemo INTEGER, Importe FLOAT NULL, "
             "CONSTRAINT LTEMPIMP_Clave1 PRIMARY KEY (CodigoTemporal, Linea, LineaMemo))"_qs,
             u"CREATE TABLE IMPRESO (Codigo VARCHAR(10), Descripcion VARCHAR(40) NULL, TipoDocumento VARCHAR(40) NULL, "
             "Modo VARCHAR(10) NULL, Instrucciones TEXT NULL, Formato VARCHAR(30) NULL, "
             "ImpresoraPorDefecto VARCHAR(100) NULL, CONSTRAINT IMPRESO_Clave1 PRIMARY KEY (Codigo))"_qs,
         })
      Ejecutar(sql);
    CodigoImpresoActual = u"FAC"_qs;
    VisualizarEnPantalla = false;
  }
  ~Genelimp() override {
    CodigoImpresoActual.clear();
    VisualizarEnPantalla = false;
  }

  void Impreso(const QString& codigo, const QString& instrucciones, const QString& impresora = QString(),
               const QString& modo = u"Grafico"_qs) {
    Ejecutar(u"INSERT INTO IMPRESO (Codigo, Descripcion, Modo, Instrucciones, Formato, ImpresoraPorDefecto) "
             "VALUES ('%1', 'Factura', '%4', '%2', 'A4', '%3')"_qs.arg(codigo, instrucciones, impresora, modo));
  }

  static void Documentos(int cuantos) {
    QStringList filas;
    for (int n = 1; n <= cuantos; ++n) filas << u"(%1)"_qs.arg(n);
    Ejecutar(u"INSERT INTO TEMPIMP (CodigoTemporal) VALUES "_qs + filas.join(u','));
  }

  // The caller's part: create the form, open its temporary tables.
  std::unique_ptr<TfGENELIMP> Formulario() {
    auto formulario = std::make_unique<TfGENELIMP>();
    for (auto [tabla, nombre] : {std::pair{formulario->Temporal, u"TEMPIMP"_qs}, std::pair{formulario->LTemporal, u"LTEMPIMP"_qs}}) {
      tabla->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
      tabla->SetTableName(nombre);
    }
    formulario->LTemporal->SetIndexFieldNames(u"CodigoTemporal;Linea;LineaMemo"_qs);
    formulario->LTemporal->SetMasterFields(u"CodigoTemporal"_qs);
    formulario->Temporal->Open();
    formulario->LTemporal->Open();
    return formulario;
  }

  // One document on a text printer whose first line's memo, "uno dos tres"
  // in a 5 mm box, goes on in two continuation rows.
  void DocumentoConMemo() {
    Ejecutar(u"ALTER TABLE LTEMPIMP ADD Notas TEXT NULL"_qs);
    Impreso(u"FAC"_qs, u"[SISTEMA]\r\nInicioLineas=2\r\nFinLineas=9999\r\nAlturaLinea=1\r\n[LINEAS]\r\nCamp=0;0;5;Notas\r\n"
                       "Camp=20;0;0;Linea\r\nText=30;0;0;T"_qs,
            u"Oficina 2"_qs, u"Texto"_qs);
    Documentos(1);
    Ejecutar(u"INSERT INTO LTEMPIMP (CodigoTemporal, Linea, LineaMemo, Notas) VALUES (1, 1, 0, 'uno dos tres'), (1, 2, 0, 'x')"_qs);
  }

  ScriptedDialogs dialogos;
  RecordingPrinter impresoras{{u"Oficina 1"_qs, u"Oficina 2"_qs}, carpeta.Path()};
};

// Runs the look once the preview window shows, then closes it; the run
// handles pending events once a document, so the look waits for the window.
inline void AlMostrarse(TfGENELIMP& formulario, const std::function<void()>& mirar) {
  auto* reloj = new QTimer(&formulario);
  QObject::connect(reloj, &QTimer::timeout, [&formulario, reloj, mirar] {
    if (!formulario.isVisible()) return;
    reloj->stop();
    mirar();
    formulario.reject();
  });
  reloj->start(0);
}

inline const char* const Factura = "[SISTEMA]\r\nFinLineas=9999\r\n[CABECERA]\r\nCabe=1\r\n[LINEAS]\r\nLin=1";
