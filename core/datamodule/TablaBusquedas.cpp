#include "core/datamodule/TablaBusquedas.h"

#include "core/helpers/Listas.h"
#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/StringList.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Fixed file names are found whatever their case.
QString archivoBusquedas() {
  const QString nombre = QStringLiteral("BUSQUEDA.TXT");
  const QDir carpeta(CarpetaPrograma);
  for (const QString& existente : carpeta.entryList(QDir::Files))
    if (existente.compare(nombre, Qt::CaseInsensitive) == 0) return carpeta.filePath(existente);
  return carpeta.filePath(nombre);
}

StringList busquedas(const QString& archivo) {
  StringList lineas;
  try {
    if (QFileInfo::exists(archivo)) lineas.LoadFromFile(archivo);
  } catch (const std::exception&) {
    lineas.Clear();
  }
  return lineas;
}

}  // namespace

QString LeerBusqueda(const QString& nombre) { return ValorStrings(nombre, busquedas(archivoBusquedas())); }

void GrabarBusqueda(const QString& nombre, const QString& valor) {
  try {
    StringList::UpdateFile(archivoBusquedas(),
                           [&](StringList& lineas) { AsignarValorLista(nombre, valor, lineas); });
  } catch (const Exception& error) {
    MensajeAviso(u"No ha sido posible grabar los datos en la tabla de búsquedas. Motivo: "_qs + error.Message());
  }
}
