#include "core/services/SeleccionArchivoCarpeta.h"

#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/Paths.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QStringList>

#include <memory>

namespace {

QStringList tiposObjeto(const QString& opciones) {
  QStringList tipos;
  if (opciones.contains(QLatin1String("Carpetas"))) tipos.append(QStringLiteral("otFolders"));
  if (opciones.contains(QLatin1String("Archivos"))) tipos.append(QStringLiteral("otNonFolders"));
  if (opciones.contains(QLatin1String("Ocultos"))) tipos.append(QStringLiteral("otHidden"));
  return tipos;
}

// The folder of a file's path, the path given otherwise; none, the
// installation's folder. A path the tree cannot take leaves it at the
// installation's folder too.
QString carpetaInicial(const QString& ruta) {
  if (ruta.isEmpty()) return Paths::Internal(CarpetaPrograma);
  const QFileInfo dada(Paths::Internal(ruta));
  return dada.isFile() ? dada.absolutePath() : Paths::Internal(ruta);
}

bool tienePropiedades(const QObject& componente, std::initializer_list<const char*> nombres) {
  for (const char* nombre : nombres)
    if (componente.metaObject()->indexOfProperty(nombre) < 0) return false;
  return true;
}

bool seleccionar(const QString& titulo, QString& ruta, const QString& opciones) {
  const QString clase = QLatin1String(kFormularioSeleccionArchivoCarpeta);
  const std::unique_ptr<QWidget> formulario(FormRegistry::Create(clase, nullptr));
  auto* selector = qobject_cast<Form*>(formulario.get());
  auto* etiqueta = selector ? selector->findChild<QLabel*>(QStringLiteral("Titulo")) : nullptr;
  auto* arbol = selector ? selector->findChild<QWidget*>(QStringLiteral("ShellTreeView")) : nullptr;
  if (!etiqueta || !arbol || !tienePropiedades(*arbol, {"Root", "ObjectTypes", "Path"}))
    throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));

  etiqueta->setText(titulo);
  arbol->setProperty("Root", carpetaInicial(ruta));
  arbol->setProperty("ObjectTypes", tiposObjeto(opciones));
  // A choice of folder can be given up; a list only looked at closes with Esc.
  if (auto* cancelar = selector->findChild<QAbstractButton*>(QStringLiteral("pbCancelar")))
    cancelar->setVisible(opciones.contains(QLatin1String("Carpetas")));

  if (selector->ShowModal() != mrOk) return false;
  ruta = arbol->property("Path").toString();
  return true;
}

}  // namespace

bool SeleccionarArchivoCarpeta(const QString& titulo, QString& ruta, const QString& opciones) {
  try {
    return seleccionar(titulo, ruta, opciones);
  } catch (const Exception& error) {
    MensajeAviso(QStringLiteral("¡No ha sido posible abrir el archivo o carpeta ") + ruta +
                 QStringLiteral("!. Motivo: ") + error.Message());
    return false;
  }
}
