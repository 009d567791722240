#pragma once

#include <QString>

#include <functional>

class Dataset;
class Form;
class QObject;
class QWidget;
class Table;

// What the form services call whose bodies other modules give. The first
// ones start as the data module's own routines; the others are installed by
// their modules once they exist, and an empty one does what its comment says.
// A test may put its own in place of any.
struct GanchosFormulario {
  // The translation of a form's texts.
  std::function<void(QObject& formulario)> TraducirFormulario;
  // The translation of a text with its name=value placeholders.
  std::function<QString(const QString& texto, const QString& valores)> Traducir;
  // The translation of a list item.
  std::function<QString(const QString& texto)> TraducirLista;
  // The user's right on the program of the caption: "Ninguno",
  // "Solo Lectura" or full.
  std::function<QString(const QString& usuario, const QString& programa)> DerechoAccesoPrograma;
  // The usage log's line for a form.
  std::function<void(const QString& accion, QWidget& formulario)> RegistrarUso;
  // Deletes the rows tied to the current record; false when they stay.
  std::function<bool(Table& tabla)> EliminarRegistrosAsociados;
  // The after-post hook of tables: the document responsibility check.
  std::function<void(Dataset& dataset)> ComprobarResponsabilidadDocumental;
  // The user-field editor on a dataset's record; nothing.
  std::function<void(Dataset& dataset)> VisorCamposUsuario;
  // The euro toggle with its mode ("Asignar").
  std::function<void(QObject& formulario, const QString& modo)> ConmutarEuro;
  // The MDI child of exactly that name; none.
  std::function<QWidget*(const QString& nombre)> BuscarFormularioMDI;
  // A text shown in the detail viewer with its title and options; nothing.
  std::function<void(const QString& texto, const QString& titulo, const QString& opciones)> MostrarDetalle;
  // The application's main window; none.
  std::function<QWidget*()> VentanaPrincipal;
  // The double-click of an edit: the search table bound to it; nothing.
  std::function<void(QObject* sender)> AsociarTablaBusqueda;
  // The record search on a table, which moves it to the record chosen;
  // nothing.
  std::function<void(Dataset& dataset)> BuscarRegistro;
  // The filter dialog on a table; nothing.
  std::function<void(Dataset& dataset)> FiltrarTabla;
  // The copy of a table's records to other companies; nothing.
  std::function<void(Dataset& dataset)> CopiarRegistrosAOtrasEmpresas;
  // The same with the lines of a detail table; nothing.
  std::function<void(Dataset& dataset, Dataset& detalle)> CopiarRegistrosAOtrasEmpresasConDetalle;
};

// The virtual-key code of the last key down, written by the forms' key
// handling and by the record search's box.
extern int UltimaTeclaPulsada;

GanchosFormulario& Ganchos();
// Puts every hook back as the data module installs it.
void RestablecerGanchosFormulario();
