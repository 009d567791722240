#include "printing/ParametrosListado.h"

#include "core/datamodule/Genemodu.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

namespace {

const QString kPorDefecto = QStringLiteral("Por Defecto");

}  // namespace

bool ListarRestriccionesSiempre = false;

bool ParametrosListado::RestriccionesAlCrear() const { return listarRestricciones || ListarRestriccionesSiempre; }

bool ParametrosListado::ConCompresion() const {
  if (factorLetra == 0 || factorHorizontal == 0) return false;
  return !(factorLetra == 1 && factorHorizontal == 1 && tipoLetra == kPorDefecto);
}

ParametrosListado LeerParametrosListado() {
  ParametrosListado parametros;
  Table* tabla = ModuloDatos ? ModuloDatos->ParamGenerales : nullptr;
  if (!tabla || !tabla->Active()) return parametros;
  tabla->Refresh();
  const auto texto = [tabla](const char* nombre, const QString& porDefecto) {
    const Field* campo = tabla->FindField(QString::fromLatin1(nombre));
    return campo && !campo->IsNull() ? campo->AsString() : porDefecto;
  };
  const auto numero = [tabla](const char* nombre, double porDefecto) {
    const Field* campo = tabla->FindField(QString::fromLatin1(nombre));
    return campo && !campo->IsNull() ? campo->AsFloat() : porDefecto;
  };
  parametros.listarRestricciones = texto("ListarRestricciones", {}) == u"SI";
  parametros.margenIzquierdoImpresora = static_cast<int>(numero("MargenIzquierdoImpresora", 0));
  parametros.tipoLetra = texto("TipoLetraListados", kPorDefecto);
  parametros.factorLetra = numero("FCompresionTLetraListados", 1);
  parametros.factorHorizontal = numero("FCompresionListados", 1);
  parametros.tramas = texto("TipoCombinacionTramas", parametros.tramas);
  parametros.visualizacionPrevia = texto("FmtVisualizacionPrevia", parametros.visualizacionPrevia);
  parametros.solicitarDialogoImpresora = texto("SolicitarDialogoImpresora", {}) != u"NO";
  return parametros;
}
