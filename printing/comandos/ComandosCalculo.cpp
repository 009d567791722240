#include "printing/comandos/ComandosCalculo.h"

#include "core/helpers/Letras.h"
#include "core/helpers/Numeros.h"
#include "platform/format/Format.h"
#include "printing/comandos/ComandoTexto.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/comandos/TablaReferida.h"
#include "printing/comandos/ValoresImpreso.h"
#include "printing/formlang/NumerosImpreso.h"

namespace {

double ValorOperando(DestinoComandos& destino, const QString& operando) {
  double valor = 0;
  if (TryStrToFloat(operando, valor)) return valor;
  if (operando.contains(u'.')) {
    const std::optional<QString> texto = ValorCampoTablaReferida(destino, operando);
    return texto ? TextoAFlotante(*texto) : 0;
  }
  const std::optional<QVariant> campo = destino.CampoFila(operando);
  return campo && NumeroCampo(*campo, valor) ? valor : 0;
}

void ImprimirValor(DestinoComandos& destino, const LineaInstruccion& linea, const QString& valor) {
  ArgumentosTexto argumentos = LeerArgumentosTexto(linea);
  argumentos.texto = valor;
  ImprimirTexto(destino, argumentos);
}

}  // namespace

double EvaluarExpresion(DestinoComandos& destino, const QString& expresion, QString& ultimoOperando) {
  QString partida = expresion;
  for (const auto& [escrito, operador] : {std::pair{u" + ", u"+"}, {u" - ", u"-"}, {u" * ", u"*"}, {u" x ", u"*"}, {u" / ", u"/"}})
    partida.replace(QString::fromUtf16(escrito), QString::fromUtf16(operador) + u'\n');
  double resultado = 0;
  QChar pendiente;
  for (const QString& linea : partida.split(u'\n')) {
    QString operando = linea;
    operando.remove(u'+').remove(u'-').remove(u'*').remove(u'/');
    const double valor = ValorOperando(destino, operando);
    if (pendiente == u'+') resultado += valor;
    else if (pendiente == u'-') resultado -= valor;
    else if (pendiente == u'*') resultado *= valor;
    else if (pendiente == u'/') resultado = valor == 0 ? 0 : resultado / valor;
    else resultado = valor;
    pendiente = linea.isEmpty() ? QChar() : linea.back();
    ultimoOperando = operando;
  }
  return resultado;
}

QString Concatenar(DestinoComandos& destino, const QString& texto) {
  QString resultado;
  qsizetype i = 0;
  const qsizetype n = texto.size();
  while (i < n) {
    while (i < n && texto[i] == u' ') ++i;
    if (i >= n) break;
    if (texto[i] == u'+') {
      ++i;
    } else if (texto[i] == u'"') {
      for (++i; i < n && texto[i] != u'"'; ++i) {
        if (texto[i] == u'\\' && i + 1 < n) {
          const QChar siguiente = texto[i + 1];
          if (siguiente == u'"' || siguiente == u'\\') {
            resultado += siguiente;
          } else {
            resultado += texto[i];
            resultado += siguiente;
          }
          ++i;
        } else {
          resultado += texto[i];
        }
      }
      ++i;  // the closing quote
    } else {
      const qsizetype inicio = i;
      while (i < n && texto[i] != u' ' && texto[i] != u'"') ++i;
      const QString campo = texto.mid(inicio, i - inicio).remove(u'+');
      if (const std::optional<QVariant> valor = destino.CampoFila(campo)) resultado += TextoCampo(*valor);
    }
  }
  return resultado;
}

void ComandoExpr(DestinoComandos& destino, const LineaInstruccion& linea) {
  const QString expresion = linea.Argumento(4);
  if (PruebaDiseno()) return ImprimirValor(destino, linea, AbreviarNombre(expresion, 1));
  QString ultimo;
  const double resultado = EvaluarExpresion(destino, expresion, ultimo);
  ImprimirValor(destino, linea, FormatFloat(FormatoValor(linea, ultimo), resultado));
}

void ComandoConc(DestinoComandos& destino, const LineaInstruccion& linea) {
  const QString texto = TextoEscrito(destino, linea.Argumento(4));
  ImprimirValor(destino, linea, PruebaDiseno() ? AbreviarNombre(texto, 1) : Concatenar(destino, texto));
}

void ComandoSuma(DestinoComandos& destino, const LineaInstruccion& linea) {
  const QString campo = linea.Argumento(4);
  if (PruebaDiseno()) return ImprimirValor(destino, linea, AbreviarNombre(campo, 1));
  const SumaYSigue& sumas = destino.Ejecucion().sumas;
  const int hueco = sumas.Hueco(campo);
  if (hueco < 0 || hueco >= MaximoSumas) return;
  ImprimirValor(destino, linea, FormatFloat(FormatoValor(linea, campo), sumas.valores[hueco]));
}

void ComandoISum(DestinoComandos& destino, const LineaInstruccion& linea) {
  if (PruebaDiseno()) return;
  SumaYSigue& sumas = destino.Ejecucion().sumas;
  const int hueco = sumas.Hueco(linea.Argumento(1));
  if (hueco >= 0 && hueco < MaximoSumas) sumas.valores[hueco] = 0;
}
