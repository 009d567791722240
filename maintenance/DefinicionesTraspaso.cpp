#include "maintenance/DefinicionesTraspaso.h"

#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/NombresTablas.h"
#include "platform/TextFile.h"

const CampoTraspaso* TablaTraspaso::Campo(const QString& nombreCampo) const {
  for (const CampoTraspaso& campo : campos)
    if (campo.nombre.compare(nombreCampo, Qt::CaseInsensitive) == 0) return &campo;
  return nullptr;
}

DefinicionesTraspaso DefinicionesTraspaso::Leer(const QString& archivo) {
  DefinicionesTraspaso definiciones;
  for (const QString& linea : LineasDefinicion(TextFile::Read(archivo))) {
    const QString datos = linea.section(u'|', 0, 0);
    const QString nombre = PiezaDefinicion(0, datos).trimmed();
    const QString tipo = PiezaDefinicion(1, datos);
    if (nombre.isEmpty() || (tipo != u"C" && tipo != u"I")) continue;
    if (!EsNombreTablaTraspaso(nombre)) {
      if (!definiciones.noValidas_.contains(nombre)) definiciones.noValidas_.append(nombre);
      continue;
    }
    TablaTraspaso& tabla = definiciones.tabla(nombre);
    if (tipo == u"C") {
      tabla.campos.append({PiezaDefinicion(2, datos).toInt(), PiezaDefinicion(3, datos), PiezaDefinicion(4, datos),
                           PiezaDefinicion(5, datos).toInt(), PiezaDefinicion(6, datos) == u"*"});
    } else if (PiezaDefinicion(3, datos) == u"<Primary>") {
      tabla.clave = PiezaDefinicion(4, datos).split(u';', Qt::SkipEmptyParts);
    }
  }
  return definiciones;
}

TablaTraspaso& DefinicionesTraspaso::tabla(const QString& nombre) {
  const QString clave = nombre.toUpper();
  auto encontrada = tablas_.find(clave);
  if (encontrada == tablas_.end()) {
    orden_.append(nombre);
    encontrada = tablas_.insert(clave, TablaTraspaso{nombre, {}, {}});
  }
  return *encontrada;
}

const TablaTraspaso* DefinicionesTraspaso::Tabla(const QString& nombre) const {
  const auto encontrada = tablas_.constFind(nombre.toUpper());
  return encontrada == tablas_.constEnd() ? nullptr : &*encontrada;
}

bool DefinicionesTraspaso::AgregarCampoUsuario(const QString& nombreTabla, const CampoTraspaso& campo) {
  TablaTraspaso& destino = tabla(nombreTabla);
  if (destino.Campo(campo.nombre)) return false;
  int numero = 999;
  for (const CampoTraspaso& existente : destino.campos) numero = std::max(numero, existente.numero);
  CampoTraspaso nuevo = campo;
  nuevo.numero = numero + 1;
  destino.campos.append(nuevo);
  return true;
}

bool EsNombreTablaTraspaso(const QString& nombre) { return !nombre.contains(u'.'); }

QString MotivoNombreTablaTraspaso(const QString& nombre) { return MotivoNombreTablaNoValido(nombre, u"./"); }

bool EsTipoNumerico(const QString& tipo) {
  static const QStringList numericos{QStringLiteral("ftInteger"), QStringLiteral("ftSmallint"), QStringLiteral("ftFloat"),
                                     QStringLiteral("ftDate"),    QStringLiteral("ftTime"),     QStringLiteral("ftDateTime")};
  return numericos.contains(tipo);
}
