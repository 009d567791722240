#include "core/helpers/Rangos.h"

#include "core/helpers/Letras.h"
#include "core/helpers/Textos.h"
#include "platform/StringList.h"

QString DescripcionRango(const QString& definicion) {
  StringList lines;
  lines.SetText(definicion);
  const QString separator = QStringLiteral("|");
  QString description;
  for (const QString& line : lines.Lines()) {
    const QString from = ExtraerElemento(1, line, separator);
    const QString to = ExtraerElemento(2, line, separator);
    if (from.isEmpty() && to.isEmpty()) continue;
    const QString field = SepararPalabras(ExtraerElemento(0, line, separator));
    description += QStringLiteral("Desde ") + field + QStringLiteral(": ") + from + QStringLiteral(", ") +
                   QStringLiteral("Hasta ") + field + QStringLiteral(": ") + to + QStringLiteral(", ");
  }
  return description;
}
