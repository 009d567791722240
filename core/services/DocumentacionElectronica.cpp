#include "core/services/DocumentacionElectronica.h"

#include "core/forms/FormulariosMDI.h"
#include "core/services/FormularioRegistrado.h"
#include "core/tables/NombresTablas.h"
#include "platform/FormRegistry.h"

#include <QWidget>

void MostrarDocumentacionElectronica(const QString& tabla, const QString& clave) {
  const QString clase = QLatin1String(kFormularioDocumentacionElectronica);
  QWidget* ventana = FormularioMDI(QStringLiteral("fGENEDOCE"));
  AbrirFormularioMDI(
      [&clase]() -> QWidget* {
        QWidget* nueva = FormRegistry::Create(clase, nullptr);
        if (!nueva) FormularioNoDisponible(clase);
        return nueva;
      },
      ventana, QString(), QStringLiteral("fGENEDOCE"));
  ventana->setProperty("NombreTabla", QuitarPrefijoTabla(tabla));
  ventana->setProperty("ClaveTabla", clave);
  QMetaObject::invokeMethod(ventana, "CargarDocumentos");
}

void AbrirDocumentacionElectronica(const QString& tabla, const QString& clave) {
  MostrarDocumentacionElectronica(tabla, clave);
}
