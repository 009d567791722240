#include "printing/comandos/ComandosImpreso.h"

#include "platform/data/Table.h"
#include "printing/Genelimp.h"
#include "printing/comandos/ComandoCampo.h"
#include "printing/comandos/ComandoCodigoBarras.h"
#include "printing/comandos/ComandoGrafico.h"
#include "printing/comandos/ComandoTexto.h"
#include "printing/comandos/ComandoVariable.h"
#include "printing/comandos/ComandosCalculo.h"
#include "printing/comandos/ComandosDibujo.h"
#include "printing/comandos/DestinoComandos.h"

#include <QHash>

namespace {

using Comando = void (*)(DestinoComandos&, const LineaInstruccion&);

const QHash<QString, Comando>& TablaComandos() {
  static const QHash<QString, Comando> tabla{
      {u"Text"_qs, ComandoText}, {u"Asci"_qs, ComandoAsci}, {u"Vari"_qs, ComandoVari},
      {u"Rect"_qs, ComandoRect}, {u"Line"_qs, ComandoLine}, {u"Font"_qs, ComandoFont},
      {u"Expr"_qs, ComandoExpr}, {u"Conc"_qs, ComandoConc}, {u"Suma"_qs, ComandoSuma},
      {u"ISum"_qs, ComandoISum}, {u"Graf"_qs, ComandoGraf}, {u"Camp"_qs, ComandoCamp},
      {u"CBar"_qs, ComandoCBar},
  };
  return tabla;
}

class DestinoMotor : public DestinoComandos {
 public:
  explicit DestinoMotor(TfGENELIMP& motor) : motor_(motor) {}
  EjecucionImpreso& Ejecucion() override { return motor_.Ejecucion(); }
  LienzoImpreso* Lienzo() override { return motor_.Lienzo(); }
  Dataset* DatosFila() override {
    return Ejecucion().geometria.enSeccionLineas ? static_cast<Dataset*>(motor_.LTemporal) : motor_.Temporal;
  }
  void EnviarCrudo(const QByteArray& bytes) override { motor_.EnviarCrudo(bytes); }
  TPrintBarcode* CodigoBarras() override { return motor_.PrintBarcode1(); }

 private:
  TfGENELIMP& motor_;
};

}  // namespace

void EjecutarComandoImpreso(DestinoComandos& destino, const LineaInstruccion& linea) {
  if (const Comando comando = TablaComandos().value(linea.palabra)) comando(destino, linea);
}

void InstalarComandosImpreso() {
  if (Salidas().EjecutarComando) return;
  Salidas().EjecutarComando = [](TfGENELIMP& motor, const LineaInstruccion& linea) {
    DestinoMotor destino(motor);
    EjecutarComandoImpreso(destino, linea);
  };
}
