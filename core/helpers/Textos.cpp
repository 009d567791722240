#include "core/helpers/Textos.h"

#include "platform/Cp1252.h"
#include "platform/StringList.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

QString CaracterNoUsado(const QString& texto) {
  for (int code = 255; code >= 0; --code) {
    const QString candidate = Cp1252::decode(QByteArray(1, static_cast<char>(code)));
    if (!texto.contains(candidate)) return candidate;
  }
  return QString();
}

QString ExtraerElemento(int indice, const QString& texto, const QString& separador) {
  if (indice < 0) return QString();
  if (separador.isEmpty()) return indice == 0 ? texto : QString();
  const QStringList elements = texto.split(separador);
  return indice < elements.size() ? elements[indice] : QString();
}

int ContarOcurrencias(const QString& buscado, const QString& texto) {
  if (buscado.isEmpty()) return 0;
  QString rest = texto;
  int count = 0;
  for (qsizetype at = rest.indexOf(buscado); at >= 0; at = rest.indexOf(buscado)) {
    rest.remove(at, buscado.size());
    ++count;
  }
  return count;
}

QString ExtraerElementoDesdeFinal(int n, const QString& texto, const QString& separador) {
  const int k = ContarOcurrencias(separador, texto);
  return ExtraerElemento(k - std::min(k, n), texto, separador);
}

int ContarCaracter(QChar caracter, const QString& texto) { return static_cast<int>(texto.count(caracter)); }

QString ReemplazarTexto(const QString& buscado, const QString& nuevo, QString& texto) {
  if (!buscado.isEmpty()) texto.replace(buscado, nuevo);
  return texto;
}

QString ReemplazarRepetido(const QString& buscado, const QString& nuevo, const QString& texto) {
  QString result = texto;
  if (buscado.isEmpty()) return ReemplazarTexto(buscado, nuevo, result);
  // Only a pass that shortens the text can be followed by another: a
  // replacement that does not shrink could go on for ever.
  for (qsizetype antes = result.size() + 1; result.size() < antes && result.contains(buscado);) {
    antes = result.size();
    ReemplazarTexto(buscado, nuevo, result);
  }
  return result;
}

QString QuitarCRLFFinal(const QString& texto) {
  return texto.endsWith(QLatin1String("\r\n")) ? texto.chopped(2) : texto;
}

QString OrdenarLineas(const QString& texto) {
  StringList lines;
  lines.SetText(texto);
  QStringList sorted = lines.Lines();
  QCollator collator(QLocale(QLocale::Spanish, QLocale::Spain));
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  return StringList(sorted).Text();
}

QString Entrecomillar(const QString& texto) { return u'\'' + texto + u'\''; }

QString Espacios(int n) { return n > 0 ? QString(n, u' ') : QString(); }
