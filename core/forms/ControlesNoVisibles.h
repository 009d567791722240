#pragma once

class DBGrid;
class Form;
class QObject;
class QString;

// Hides the controls, tabs and grid columns that the user's configuration
// "ControlesNoVisibles" names for this form (qualified "form.control",
// "form.grid.<dataset><field>"); the list becomes the run-time list.
void AplicarControlesNoVisibles(QObject& formulario);
// At the main window's close: the usage log's "Close" of the open forms,
// and in administrator mode the run-time list offered and appended to the
// configuration of the users named.
void ListaControlesNoVisibles();
// The close question of a form with records not yet posted; canClose is
// cleared only when posting one of them fails.
void CamposSinConfirmar(Form& formulario, bool& canClose);
// Hides the controls and grid columns of the fields the user may not see.
void OcultarCamposRestringidos(QObject& formulario);
void OcultarColumnaRejilla(DBGrid& rejilla, const QString& campo);
