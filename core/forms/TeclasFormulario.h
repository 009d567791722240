#pragma once

#include <QChar>
#include <QString>
#include <Qt>

class Dataset;
class Form;
class QWidget;

// The suite-wide key-down of every data form: Enter to the next control,
// the Ctrl shortcuts (field viewer, access history, document responsibility,
// templates, grid tools...), F2 (search or calculator), F3, F8 in
// administrator mode. The key is kept in UltimaTeclaPulsada and the typing
// history of the services object first.
void TeclasFormulario(Form& formulario, quint16& tecla, Qt::KeyboardModifiers estado);
// The suite-wide key press: Enter moves to the next control (Tab in grids),
// the keypad's decimal key types "," (":" in a time field).
void PulsacionTecla(Form& formulario, QChar& tecla);

// The control the keys act on: the focused one, a grid for its cell editor.
QWidget* ControlActivo(Form& formulario);
// The dataset of the shortcuts: a DB grid's or a DB edit's when one is
// active, else the dataset of the form's "DataSource1"; none.
Dataset* DatasetActual(Form& formulario, QWidget* activo);
