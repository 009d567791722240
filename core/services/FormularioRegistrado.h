#pragma once

#include "platform/Form.h"

#include <QString>

#include <memory>

// The maintenance tools the main menu opens by their class names.
inline constexpr auto kFormularioCopiasSQLServer = "TfGENEBSQL";
inline constexpr auto kFormularioTestRendimiento = "TfGENETEST";

// A generic form of a higher layer, created for one use by its registered
// class name; nullptr when no Form is registered under it.
std::unique_ptr<Form> CrearFormularioRegistrado(const QString& clase);
// Raises "El formulario <clase> no está disponible.".
[[noreturn]] void FormularioNoDisponible(const QString& clase);
// The registered form, or the error above.
std::unique_ptr<Form> FormularioRegistrado(const QString& clase);

// The form's control of that name and kind; raises as above when the form
// is missing or has none.
template <class Control>
Control& ControlFormulario(const std::unique_ptr<Form>& formulario, const QString& nombre, const QString& clase) {
  auto* control = formulario ? formulario->findChild<Control*>(nombre) : nullptr;
  if (!control) FormularioNoDisponible(clase);
  return *control;
}
