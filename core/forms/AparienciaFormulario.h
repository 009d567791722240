#pragma once

#include <QString>

class QObject;
class QStatusBar;
class QWidget;

// Applies the look (AspectoApplicacion) to a form and its components; on
// the main window it first brings the manifest file in line with it.
void AplicarAspecto(QObject& formulario);
// Writes (look "evo+") or deletes (any other) the executable's manifest
// file; when that changed it, tells the user, starts the program again with
// the same arguments and ends this run.
void EscribirManifiesto(const QString& aspecto);
// The manifest file the look brings in line: in the program folder, named
// after the program as it was started.
QString ArchivoManifiesto();
// Writes the manifest of the "evo+" look for the program at that path.
bool GrabarManifiesto(const QString& ejecutable);

// Status-bar panels from a "|"-separated text, translated with Traducir
// over the name=value placeholders; in simple-panel mode (the status bar's
// property "SimplePanel") the text as its message.
void PanelesEstado(QStatusBar& barra, const QString& texto, const QString& valores);
// The fixed sizes of forms: "Fit" fills the main window, "Design" keeps the
// designed size (less 20 for a form with a menu), anything else "XGA" or,
// on a main window smaller than 1024x768, "SVGA".
void AjustarTamanoFormulario(QWidget& formulario, const QString& modo);
