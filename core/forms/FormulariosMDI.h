#pragma once

#include <QString>

#include <functional>

class QWidget;

// The main window's MDI child of exactly that name that is shown; none.
QWidget* FormularioMDI(const QString& nombre);
bool BuscarFormularioMDI(const QString& nombre);

// Opens an MDI child once: the child, shown or hidden, whose name up to its
// first "_" is the name given is brought back (restored when minimised or
// maximised, shown otherwise) into the reference; otherwise, or when the
// options hold "Create" (which closes the child found), a new one is made by
// crear, named so ("_1", "_2" when the name is still taken) and put in the
// main window's MDI area; without a main window it opens on its own. The
// action taken goes to the usage log.
void AbrirFormularioMDI(const std::function<QWidget*()>& crear, QWidget*& formulario, const QString& opciones,
                        const QString& nombre);
// The same with the form's registered class name; a class that is not
// registered raises "El formulario <clase> no está disponible.".
void AbrirFormularioMDI(const QString& clase, QWidget*& formulario, const QString& opciones, const QString& nombre);
