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
