#include "core/services/FormularioRegistrado.h"

#include "platform/Exceptions.h"
#include "platform/FormRegistry.h"

std::unique_ptr<Form> CrearFormularioRegistrado(const QString& clase) {
  std::unique_ptr<QWidget> creado(FormRegistry::Create(clase, nullptr));
  if (!qobject_cast<Form*>(creado.get())) return nullptr;
  return std::unique_ptr<Form>(static_cast<Form*>(creado.release()));
}

void FormularioNoDisponible(const QString& clase) {
  throw Exception(QStringLiteral("El formulario ") + clase + QStringLiteral(" no está disponible."));
}

std::unique_ptr<Form> FormularioRegistrado(const QString& clase) {
  std::unique_ptr<Form> formulario = CrearFormularioRegistrado(clase);
  if (!formulario) FormularioNoDisponible(clase);
  return formulario;
}
