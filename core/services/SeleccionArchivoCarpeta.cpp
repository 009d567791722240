#include "core/services/SeleccionArchivoCarpeta.h"

#include "core/messages/MensajeSistema.h"
#include "platform/Exceptions.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QTreeView>

#include <memory>

namespace {

QDir::Filters tiposObjeto(const QString& opciones) {
  QDir::Filters tipos = QDir::NoDotAndDotDot;
  if (opciones.contains(QLatin1String("Carpetas"))) tipos |= QDir::Dirs;
  if (opciones.contains(QLatin1String("Archivos"))) tipos |= QDir::Files;
  if (opciones.contains(QLatin1String("Ocultos"))) tipos |= QDir::Hidden;
  return tipos;
}

bool seleccionar(const QString& titulo, QString& ruta, const QString& opciones) {
  const QString clase = QLatin1String(kFormularioSeleccionArchivoCarpeta);
  const std::unique_ptr<QWidget> formulario(FormRegistry::Create(clase, nullptr));
  auto* selector = qobject_cast<Form*>(formulario.get());
  auto* etiqueta = selector ? selector->findChild<QLabel*>(QStringLiteral("Titulo")) : nullptr;
  auto* arbol = selector ? selector->findChild<QTreeView*>(QStringLiteral("ShellTreeView")) : nullptr;
  auto* modelo = arbol ? qobject_cast<QFileSystemModel*>(arbol->model()) : nullptr;
  if (!etiqueta || !modelo) throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));

  etiqueta->setText(titulo);
  modelo->setFilter(tiposObjeto(opciones));
  const QString raiz = Paths::Internal(ruta);
  if (QFileInfo(raiz).isDir()) arbol->setRootIndex(modelo->setRootPath(raiz));

  if (selector->ShowModal() != mrOk) return false;
  const QModelIndex elegido = arbol->currentIndex().isValid() ? arbol->currentIndex() : arbol->rootIndex();
  ruta = modelo->filePath(elegido);
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
