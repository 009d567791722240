#include "tests/printing/formlang/EntornoEnMemoria.h"

#include <gtest/gtest.h>

namespace {
const std::vector<QVariantMap> ninguna;
}

std::optional<QVariant> EntornoEnMemoria::CampoDocumento(const QString& campo) const {
  if (FinDocumentos() || !documentos[actual_].contains(campo)) return std::nullopt;
  return documentos[actual_].value(campo);
}

QString EntornoEnMemoria::ClaveDocumento() const {
  return FinDocumentos() ? QString() : documentos[actual_].value(u"CodigoTemporal"_qs).toString() + u';';
}

const std::vector<QVariantMap>& EntornoEnMemoria::LineasActuales() const {
  if (FinDocumentos()) return ninguna;
  const auto encontradas = lineas.constFind(documentos[actual_].value(u"CodigoTemporal"_qs).toInt());
  return encontradas == lineas.constEnd() ? ninguna : *encontradas;
}

void EntornoEnMemoria::BorrarContinuaciones() {
  registro << u"BorrarContinuaciones"_qs;
  if (FinDocumentos()) return;
  auto& filas = lineas[documentos[actual_].value(u"CodigoTemporal"_qs).toInt()];
  std::erase_if(filas, [](const QVariantMap& fila) { return fila.value(u"LineaMemo"_qs).toInt() > 0; });
}

bool EntornoEnMemoria::FinLineas() const { return linea_ >= LineasActuales().size(); }

QList<std::pair<QString, QVariant>> EntornoEnMemoria::ValoresLinea() const {
  QList<std::pair<QString, QVariant>> valores;
  if (FinLineas()) return valores;
  const QVariantMap& fila = LineasActuales()[linea_];
  for (auto campo = fila.cbegin(); campo != fila.cend(); ++campo) valores.append({campo.key(), campo.value()});
  return valores;
}

std::optional<QString> EntornoEnMemoria::InstruccionesLinea() const {
  if (FinLineas() || !LineasActuales()[linea_].contains(u"Instrucciones"_qs)) return std::nullopt;
  return LineasActuales()[linea_].value(u"Instrucciones"_qs).toString();
}

std::optional<DefinicionImpreso> EntornoEnMemoria::Impreso(const QString& codigo) const {
  const auto encontrado = impresos.constFind(codigo);
  if (encontrado == impresos.constEnd()) return std::nullopt;
  return *encontrado;
}

bool EntornoEnMemoria::Confirmar(const QString& texto) {
  registro << u"Confirmar "_qs + texto;
  if (soloContar) return true;
  if (confirmaciones.isEmpty()) {
    ADD_FAILURE() << "unexpected confirmation: " << texto.toStdString();
    return false;
  }
  return confirmaciones.takeFirst();
}

std::optional<QString> EntornoEnMemoria::PreguntarPrimeraEtiqueta(const QString& texto, const QString& inicial) {
  registro << u"Pregunta "_qs + texto + u'[' + inicial + u']';
  if (respuestasEtiqueta.isEmpty()) return std::nullopt;
  return respuestasEtiqueta.takeFirst();
}

bool EntornoEnMemoria::CopiarArchivo(const QString& origen, const QString& destino) {
  registro << u"Copiar "_qs + origen + u" > "_qs + destino;
  return !origen.isEmpty();
}

void EntornoEnMemoria::PaginaNueva(const QString& clave) {
  ++paginas;
  registro << u"Pagina "_qs + clave;
}

void EntornoEnMemoria::EjecutarComando(const LineaInstruccion& linea) {
  if (linea.palabra.startsWith(u'[')) return;  // section headers pass through without effect
  ++comandos;
  if (soloContar) return;
  const EjecucionImpreso& e = *ejecucion;
  QString texto = linea.palabra + u'=' + linea.argumentos;
  if (linea.palabra == u"Suma") {
    const int hueco = e.sumas.Hueco(linea.Argumento(4));
    texto += u" total="_qs + (hueco < 0 ? u"-"_qs : QString::number(e.sumas.valores[hueco]));
  }
  registro << u"%1 pagina=%2 copia=%3 etiqueta=%4 linea=%5"_qs.arg(texto)
                  .arg(e.paginaDocumento)
                  .arg(e.numeroCopia)
                  .arg(e.geometria.posicionEtiqueta)
                  .arg(e.geometria.lineaActual);
}

QStringList EntornoEnMemoria::Registrado(const QString& inicio) const {
  QStringList encontrados;
  for (const QString& linea : registro)
    if (linea.startsWith(inicio)) encontrados << linea;
  return encontrados;
}
