#include "core/helpers/Tablas.h"

#include "core/helpers/Textos.h"

#include <QStringList>

namespace {

QString NameWithoutOwner(const QString& table) {
  return table.contains(u'.') ? ExtraerElemento(1, table, QStringLiteral(".")) : table;
}

}  // namespace

bool EsTablaGeneral(const QString& tabla) {
  static const QStringList generalTables = {
      QStringLiteral("EMPRESA"),  QStringLiteral("USUARIO"),  QStringLiteral("CONFAPLI"), QStringLiteral("CAMPOUSR"),
      QStringLiteral("INCAPLIC"), QStringLiteral("NOMBTTEM"), QStringLiteral("IDIOMA"),   QStringLiteral("TXIDIOMA"),
      QStringLiteral("MENSAJE"),  QStringLiteral("UDADCALC"), QStringLiteral("VPART")};
  return generalTables.contains(NameWithoutOwner(tabla));
}

bool EsTablaTemporal(const QString& tabla) {
  const QString name = NameWithoutOwner(tabla);
  return name.left(4).toUpper() == QLatin1String("TEMP") && name.size() >= 9;
}
