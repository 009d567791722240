#pragma once

#include "platform/Form.h"

#include <QString>

#include <memory>

// A generic form of a higher layer, created for one use by its registered
// class name; nullptr when no Form is registered under it.
std::unique_ptr<Form> CrearFormularioRegistrado(const QString& clase);
// As above; raises as below when no Form is registered under it.
std::unique_ptr<Form> CrearFormularioDisponible(const QString& clase);
// Raises "El formulario <clase> no está disponible.".
[[noreturn]] void FormularioNoDisponible(const QString& clase);

// The form's control of that name and kind; raises as above when the form
// is missing or has none.
template <class Control>
Control& ControlFormulario(const std::unique_ptr<Form>& formulario, const QString& nombre, const QString& clase) {
  auto* control = formulario ? formulario->findChild<Control*>(nombre) : nullptr;
  if (!control) FormularioNoDisponible(clase);
  return *control;
}
