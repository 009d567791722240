#include "dialogs/FormulasLista.h"

#include "core/helpers/Numeros.h"
#include "platform/Exceptions.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <vector>

namespace {

[[noreturn]] void noEvaluable(const QString& motivo) {
  throw Exception(QStringLiteral("La fórmula no se puede evaluar: ") + motivo);
}

double finito(double valor) {
  if (!std::isfinite(valor)) noEvaluable(QStringLiteral("resultado fuera de rango"));
  return valor;
}

bool esOperadorFactor(QChar c) { return c == u'*' || c == u'/' || c == u'#'; }
bool esSigno(QChar c) { return c == u'+' || c == u'-'; }

// Blanks out, one decimal mark, the word forms of the operators, and the
// sign pairs a substituted value leaves ("5--3", "4+-1", "2*+3") folded.
QString normalizada(const QString& expresion) {
  QString texto;
  texto.reserve(expresion.size());
  for (QChar c : expresion) {
    if (c.isSpace()) continue;
    if (c == u',') c = u'.';
    if (c == u'x') c = u'*';
    if (c == u':') c = u'/';
    if (esSigno(c) && !texto.isEmpty() && esSigno(texto.back())) {
      const QChar combinado = texto.back() == c ? u'+' : u'-';
      texto.chop(1);
      c = combinado;
    }
    if (c == u'+' && !texto.isEmpty() && esOperadorFactor(texto.back())) continue;
    texto.append(c);
  }
  return texto;
}

bool esNumero(QStringView texto) {
  int digitos = 0;
  int marcas = 0;
  for (QChar c : texto) {
    if (c >= u'0' && c <= u'9')
      ++digitos;
    else if (c == u'.' || c == u',')
      ++marcas;
    else
      return false;
  }
  return digitos > 0 && marcas <= 1;
}

class Lector {
 public:
  explicit Lector(const QString& texto) : texto_(texto) {}

  bool Fin() const { return pos_ >= texto_.size(); }
  QChar Actual() const { return texto_.at(pos_); }
  QChar Tomar() { return texto_.at(pos_++); }

  double Numero() {
    const qsizetype inicio = pos_;
    while (!Fin() && (Actual().isDigit() || Actual() == u'.')) ++pos_;
    const QStringView pieza = QStringView(texto_).mid(inicio, pos_ - inicio);
    if (!esNumero(pieza)) noEvaluable(QStringLiteral("número no válido en la posición ") + QString::number(inicio + 1));
    bool correcto = false;
    const double valor = QLocale::c().toDouble(pieza, &correcto);
    if (correcto) return finito(valor);
    // Too small to be told from zero.
    const QStringView entera = pieza.left(pieza.indexOf(u'.'));
    if (entera.count(u'0') == entera.size()) return 0;
    noEvaluable(QStringLiteral("número fuera de rango"));
  }

 private:
  const QString& texto_;
  qsizetype pos_ = 0;
};

// Term by term: a sign, a first factor and the factors that follow it.
double evaluarNormalizada(const QString& texto) {
  Lector lector(texto);
  double total = 0;
  do {
    const bool resta = !lector.Fin() && lector.Actual() == u'-';
    if (!lector.Fin() && esSigno(lector.Actual())) lector.Tomar();
    double producto = lector.Numero();
    while (!lector.Fin() && esOperadorFactor(lector.Actual())) {
      const QChar operador = lector.Tomar();
      const bool negativo = !lector.Fin() && lector.Actual() == u'-';
      if (negativo) lector.Tomar();
      const double numero = negativo ? -lector.Numero() : lector.Numero();
      if (operador != u'*' && numero == 0) noEvaluable(QStringLiteral("división por cero"));
      if (operador == u'*')
        producto *= numero;
      else if (operador == u'/')
        producto /= numero;
      else
        producto = finito(Redondear(finito(producto / numero))) * numero;
      finito(producto);
    }
    total = finito(resta ? total - producto : total + producto);
    if (!lector.Fin() && !esSigno(lector.Actual()))
      noEvaluable(QStringLiteral("carácter no válido: ") + lector.Actual());
  } while (!lector.Fin());
  return total;
}

bool separaNombres(QChar c) {
  return c.isSpace() || esSigno(c) || esOperadorFactor(c) || c == u'(' || c == u')' || c == u':';
}

// Rebuilds the expression replacing each name (a run of characters between
// operators, parentheses and blanks) with what the replacement gives for it.
template <class Reemplazo>
QString porNombres(const QString& expresion, Reemplazo reemplazo) {
  QString resultado;
  resultado.reserve(expresion.size());
  qsizetype inicio = 0;
  const auto cerrarNombre = [&](qsizetype fin) {
    if (fin > inicio) resultado += reemplazo(expresion.mid(inicio, fin - inicio));
  };
  for (qsizetype i = 0; i < expresion.size(); ++i) {
    if (!separaNombres(expresion.at(i))) continue;
    cerrarNombre(i);
    resultado += expresion.at(i);
    inicio = i + 1;
  }
  cerrarNombre(expresion.size());
  return resultado;
}

// A product written with the word form, such as "6x2", or the word alone.
bool esProductoEscrito(const QString& nombre) {
  for (QChar c : nombre)
    if (!(c.isDigit() || c == u'.' || c == u',' || c == u'x')) return false;
  return true;
}

}  // namespace

QString TextoNumeroFormula(double valor) {
  if (valor == 0) return QStringLiteral("0");
  return QString::number(valor, 'f', QLocale::FloatingPointShortest);
}

double EvaluarExpresionSimple(const QString& expresion) { return evaluarNormalizada(normalizada(expresion)); }

double EvaluarFormula(const QString& expresion, const QString& sustituciones) {
  QString texto = expresion;
  if (!sustituciones.isEmpty()) {
    QHash<QString, QString> valores;
    for (const QString& linea : sustituciones.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts)) {
      const qsizetype igual = linea.indexOf(u'=');
      if (igual > 0 && !valores.contains(linea.left(igual))) valores.insert(linea.left(igual), linea.mid(igual + 1));
    }
    texto = porNombres(texto, [&valores](const QString& nombre) { return valores.value(nombre, nombre); });
  }
  // Innermost groups first, each written as its value in the text around it.
  std::vector<QString> abiertos;
  QString actual;
  for (QChar c : texto) {
    if (c == u'(') {
      abiertos.push_back(std::move(actual));
      actual.clear();
    } else if (c == u')') {
      if (abiertos.empty()) noEvaluable(QStringLiteral("paréntesis sin abrir"));
      const QString valor = TextoNumeroFormula(EvaluarExpresionSimple(actual));
      actual = std::move(abiertos.back());
      abiertos.pop_back();
      actual += valor;
    } else {
      actual += c;
    }
  }
  if (!abiertos.empty()) noEvaluable(QStringLiteral("paréntesis sin cerrar"));
  return EvaluarExpresionSimple(actual);
}

FormulaCampo LeerFormulaCampo(const QString& linea) {
  QString texto = linea;
  texto.replace(QStringLiteral("->"), QStringLiteral(">"));
  const qsizetype dosPuntos = texto.indexOf(u':');
  const QString resto = dosPuntos < 0 ? texto : texto.mid(dosPuntos + 1);
  return {dosPuntos < 0 ? QString() : texto.left(dosPuntos), resto.section(u'>', 0, 0), resto.section(u'>', 1)};
}

QString SustituirCampos(const QString& expresion, const Dataset& registro) {
  return porNombres(expresion, [&registro](const QString& nombre) -> QString {
    if (esNumero(nombre)) return nombre;
    if (Field* campo = registro.FindField(nombre)) return TextoNumeroFormula(campo->IsNull() ? 0 : campo->AsFloat());
    return esProductoEscrito(nombre) ? nombre : QStringLiteral("0");
  });
}
