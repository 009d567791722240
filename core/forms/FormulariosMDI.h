#pragma once

#include <QString>

#include <functional>

class QWidget;

// The main window's MDI child of exactly that name; none.
QWidget* FormularioMDI(const QString& nombre);
bool BuscarFormularioMDI(const QString& nombre);

// Opens an MDI child once: the child whose name, up to its first "_", is the
// name given is brought back (restored when minimised or maximised) into the
// reference; otherwise, or when the options hold "Create" (which closes the
// child found), a new one is made by crear, named so and put in the main
// window's MDI area. The action taken goes to the usage log.
void AbrirFormularioMDI(const std::function<QWidget*()>& crear, QWidget*& formulario, const QString& opciones,
                        const QString& nombre);
