#include "core/helpers/Letras.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr QStringView AccentedLower = u"áéíóúàèìòùâêîôûñçäëïöü";
constexpr QStringView AccentedUpper = u"ÁÉÍÓÚÀÈÌÒÙÂÊÎÔÛÑÇÄËÏÖÜ";
constexpr int IdentifierLength = 25;

bool InRange(const QString& text, QStringView first, QStringView last) { return text >= first && text <= last; }

bool IsOneOf(const QString& text, QStringView letters) { return text.size() == 1 && letters.contains(text[0]); }

bool Upper(QChar c) { return EsMayuscula(QString(c)); }
bool Digit(QChar c) { return EsDigito(QString(c)); }
bool Lower(QChar c) { return EsMinuscula(QString(c)); }

bool IsIdentifierChar(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

}  // namespace

bool EsMinuscula(const QString& caracter) {
  return InRange(caracter, u"a", u"z") || IsOneOf(caracter, AccentedLower);
}

bool EsMayuscula(const QString& caracter) {
  return InRange(caracter, u"A", u"Z") || IsOneOf(caracter, AccentedUpper);
}

bool EsDigito(const QString& caracter) { return InRange(caracter, u"0", u"9"); }

// One pass: a capital or a digit starts a word, runs of capitals or of digits
// stay together, and the last character joins its word only when it fits it.
QString SepararPalabras(const QString& identificador) {
  const QString& s = identificador;
  const qsizetype length = s.size();
  QString result;
  qsizetype wordStart = -1;
  bool boundary = false;
  for (qsizetype i = 0; i + 1 < length; ++i) {
    const bool upper = Upper(s[i]);
    const bool digit = !upper && Digit(s[i]);
    if (!upper && !digit) continue;
    if (wordStart < 0) {
      if (i > 0) result += s.left(i) + u' ';
    } else {
      const bool sameRun = upper ? Upper(s[i - 1]) : Digit(s[i - 1]);
      result += s.mid(wordStart, i - wordStart);
      if (!sameRun) result += u' ';
    }
    wordStart = i;
    boundary = true;
  }
  if (!boundary) return identificador;
  const QChar last = s[length - 1];
  const QChar first = s[wordStart];
  if (Lower(last) || (Upper(last) && Upper(first)) || (Digit(last) && Digit(first)))
    result += s.mid(wordStart);
  else
    result += s.mid(wordStart, length - 1 - wordStart) + u' ' + last;
  return result.replace(QLatin1String("  "), QLatin1String(" "));
}

QString AbreviarNombre(const QString& nombre, int letrasPorPalabra) {
  const int n = std::max(1, letrasPorPalabra);
  const QStringList words = SepararPalabras(nombre).split(u' ');
  if (words.size() <= 1 || (!nombre.isEmpty() && Digit(nombre[0]))) return nombre;
  QString result;
  for (qsizetype i = 0; i + 1 < words.size(); ++i) {
    const QString initials = words[i].left(n);
    if (EsMayuscula(initials)) result += initials + u'.';
  }
  return result + words.last();
}

bool IdentificadorValido(const QString& texto, QString& identificador) {
  identificador = texto;
  if (texto.isEmpty()) return false;
  bool valid = true;
  if (Digit(identificador[0])) {
    identificador[0] = u'_';
    valid = false;
  }
  if (identificador.size() > IdentifierLength) {
    identificador.truncate(IdentifierLength);
    valid = false;
  }
  for (QChar& c : identificador)
    if (!IsIdentifierChar(c)) {
      c = u'_';
      valid = false;
    }
  return valid;
}
