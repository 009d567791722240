#include "platform/net/CabecerasCorreo.h"

#include <gtest/gtest.h>

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
