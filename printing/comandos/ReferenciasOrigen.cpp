#include "printing/comandos/ReferenciasOrigen.h"

#include "printing/formlang/LineaInstruccion.h"

namespace {

QString PrimeraParteSinPrefijo(const QString& referencia, int parte = 0) {
  return Pieza(QStringView(referencia).mid(3), u'/', parte);
}

}  // namespace

bool TienePrefijoReferencia(const QString& tipo, const QString& referencia) {
  return referencia.contains(tipo + u':');
}

QString DividirReferencia(const QString& parte, const QString& referencia) {
  QString texto = referencia;
  if (texto.contains(u',')) texto = parte == u"PP" || parte == u"LPP" ? texto.section(u',', 0, 0) : texto.section(u',', 1, 1);
  if (parte.compare(u"Doc", Qt::CaseInsensitive) == 0) {
    const QString documento = Pieza(texto, u'/', 0);
    const qsizetype dosPuntos = documento.indexOf(u':');
    return dosPuntos < 0 ? documento : documento.mid(dosPuntos + 1);
  }
  if (parte.compare(u"Lin", Qt::CaseInsensitive) == 0 || parte == u"LPP") return Pieza(texto, u'/', 1);
  if (parte == u"SEC") return TienePrefijoReferencia(u"OF"_qs, texto) ? PrimeraParteSinPrefijo(texto, 1) : QString();
  if (parte == u"OT") {
    for (const char16_t* tipo : {u"OT", u"UC", u"UE", u"UI"})
      if (TienePrefijoReferencia(QString::fromUtf16(tipo), texto)) return PrimeraParteSinPrefijo(texto);
    return {};
  }
  if (parte == u"UC" || parte == u"UE" || parte == u"UI")
    return TienePrefijoReferencia(parte, texto) ? texto.mid(texto.indexOf(u'/') + 1) : QString();
  for (const char16_t* tipo : {u"OF", u"PP", u"RE", u"II", u"PC", u"AL"})
    if (parte == QStringView(tipo)) return TienePrefijoReferencia(parte, texto) ? PrimeraParteSinPrefijo(texto) : QString();
  return {};
}
