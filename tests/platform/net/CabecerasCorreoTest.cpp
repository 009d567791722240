#include "platform/net/CabecerasCorreo.h"

#include <gtest/gtest.h>

#include <random>

// A folded subject never has a line of blanks alone (mail readers take it
// for the end of the headers or drop it) and unfolds to the text given.
TEST(CabecerasCorreo, FoldedSubjectsHaveNoBlankLinesAndUnfoldToTheirText) {
  const QString casos[] = {
      QStringLiteral("Pedido  de  material  para  la  obra  ").repeated(8),
      QStringLiteral("Asunto") + QString(200, u' ') + QStringLiteral("fin"),
      QStringLiteral("Factura ") + QString(75, u' '),
  };
  for (const QString& asunto : casos) {
    const QString cabecera = CabecerasCorreo::Cabecera(QStringLiteral("Subject"), asunto);
    const QStringList lineas = cabecera.split(QStringLiteral("\r\n"));
    EXPECT_GT(lineas.size(), 1) << asunto.toStdString();
    for (const QString& linea : lineas) {
      EXPECT_LE(linea.size(), 78) << asunto.toStdString();
      EXPECT_FALSE(linea.trimmed().isEmpty()) << asunto.toStdString();
    }
    if (!cabecera.contains(QStringLiteral("=?"))) {
      EXPECT_EQ(QString(cabecera).remove(QStringLiteral("\r\n")), QStringLiteral("Subject: ") + asunto);
    }
  }
}

// An address list folds between addresses, never inside one, and unfolds to
// the list as written on one line.
TEST(CabecerasCorreo, AddressListsFoldBetweenWholeAddresses) {
  std::vector<CabecerasCorreo::Direccion> direcciones;
  QStringList escritas;
  for (int i = 0; i < 12; ++i) {
    direcciones.push_back({QStringLiteral("Cliente %1").arg(i), QStringLiteral("cliente%1@ejemplo.es").arg(i)});
    escritas.append(QStringLiteral("\"Cliente %1\" <cliente%1@ejemplo.es>").arg(i));
  }
  const QString cabecera = CabecerasCorreo::CabeceraDirecciones(QStringLiteral("Cc"), direcciones);
  const QStringList lineas = cabecera.split(QStringLiteral("\r\n"));
  EXPECT_GT(lineas.size(), 3);
  for (const QString& linea : lineas) {
    EXPECT_LE(linea.size(), 78) << linea.toStdString();
    EXPECT_EQ(linea.count(u'<'), linea.count(u'>')) << linea.toStdString();
  }
  EXPECT_EQ(QString(cabecera).remove(QStringLiteral("\r\n")), QStringLiteral("Cc: ") + escritas.join(QStringLiteral(", ")));
}

namespace {

QStringList Leidas(const QString& lista) {
  QStringList leidas;
  for (const CabecerasCorreo::Direccion& direccion : CabecerasCorreo::Direcciones(lista))
    leidas << direccion.nombre + u'|' + direccion.correo;
  return leidas;
}

}  // namespace

TEST(CabecerasCorreo, AddressListsAreReadAsTheMailGrammarWritesThem) {
  const struct {
    QString lista;
    QStringList direcciones;
  } casos[] = {
      {u"\"Pérez, José\" <jose@zem.es>, ana@zem.es"_qs, {u"Pérez, José|jose@zem.es"_qs, u"|ana@zem.es"_qs}},
      {u"a@b.es; c@d.es;;, "_qs, {u"|a@b.es"_qs, u"|c@d.es"_qs}},
      {u"Peña Ibáñez <a@b.es>"_qs, {u"Peña Ibáñez|a@b.es"_qs}},
      {u"Pérez, José <jose@zem.es>"_qs, {u"Pérez, José|jose@zem.es"_qs}},
      {u"jose@zem.es (José (el de Toledo) Pérez)"_qs, {u"José (el de Toledo) Pérez|jose@zem.es"_qs}},
      {u"Ana (compras) <ana (buzón) @ zem.es>"_qs, {u"Ana|ana@zem.es"_qs}},
      {u"\"a\\\"b\\\\c\" <x@y.es>"_qs, {u"a\"b\\c|x@y.es"_qs}},
      {u"=?utf-8?q?Jos=C3=A9?= =?UTF-8?B?IFDDqXJleg==?= <j@z.es>"_qs, {u"José Pérez|j@z.es"_qs}},
      {u"=?iso-8859-15?q?Coste_=A4?= <c@z.es>"_qs, {u"Coste €|c@z.es"_qs}},
      {u"=?windows-1252?Q?=80uro?= <e@z.es>"_qs, {u"€uro|e@z.es"_qs}},
      {u"\"=?UTF-8?B?w5E=?=\" <q@z.es>"_qs, {u"=?UTF-8?B?w5E=?=|q@z.es"_qs}},  // quoted: as written
      {u"=?x-desconocido?q?abc?= <d@z.es>"_qs, {u"=?x-desconocido?q?abc?=|d@z.es"_qs}},
      {u"Ventas: a@z.es, \"B, b\" <b@z.es>; c@z.es"_qs, {u"|a@z.es"_qs, u"B, b|b@z.es"_qs, u"|c@z.es"_qs}},
      {u"Vacío:;, d@z.es"_qs, {u"|d@z.es"_qs}},
      {u"<@ruta.es,@otra.es:r@z.es>"_qs, {u"|r@z.es"_qs}},
      {u"\"juan perez\"@z.es"_qs, {u"|\"juan perez\"@z.es"_qs}},
      {u"Línea\r\nrota <l@z.es>"_qs, {u"Línea rota|l@z.es"_qs}},
      {u"\"sin cerrar <s@z.es>"_qs, {u"|\"sin cerrar <s@z.es>\""_qs}},
  };
  for (const auto& caso : casos) EXPECT_EQ(Leidas(caso.lista), caso.direcciones) << caso.lista.toStdString();
}

// Any name, however hostile, written into a header and read back is the
// name and address given.
TEST(CabecerasCorreo, AddressHeadersReadBackToTheirNamesAndAddresses) {
  const QString letras = u"aZ ,;:<>\"\\()@.'=?ñé€😀\t"_qs;
  std::mt19937 azar(75);
  for (int ronda = 0; ronda < 300; ++ronda) {
    std::vector<CabecerasCorreo::Direccion> direcciones;
    QStringList esperadas;
    for (int n = 0; n < 1 + int(azar() % 5); ++n) {
      QString nombre;
      for (int k = int(azar() % 30); k > 0; --k) {
        const QString letra = letras.mid(qsizetype(azar() % letras.size()), 1);
        if (letra.at(0).isSurrogate()) continue;
        nombre += letra;
      }
      if (azar() % 7 == 0) nombre += u"😀"_qs;
      const QString correo = u"d%1.%2@zem.es"_qs.arg(ronda).arg(n);
      direcciones.push_back({nombre, correo});
      esperadas << QString(nombre).replace(u'\t', u' ').simplified() + u'|' + correo;
    }
    const QString cabecera = CabecerasCorreo::CabeceraDirecciones(u"To"_qs, direcciones);
    QStringList leidas = Leidas(QString(cabecera).remove(QStringLiteral("\r\n")).mid(3));
    for (QString& leida : leidas) leida = leida.section(u'|', 0, -2).simplified() + u'|' + leida.section(u'|', -1);
    EXPECT_EQ(leidas, esperadas) << cabecera.toStdString();
  }
}
