#pragma once

#include <QString>

class QObject;

// Translates the visible texts of a form, a data module or a report into the
// language (empty: IdiomaActual; with none, nothing is touched): the form's
// caption, then the "Caption", "Hint" and "ReportTitle" texts of every
// component it owns (a report's labels and title among them), then the column
// titles of its grids and lists. Each text remembers what the last pass wrote,
// so a later pass translates only texts set since and never translates a
// translation.
void TraducirFormulario(QObject* formulario, const QString& idioma = QString());

// One text property ("Caption", "Hint", "ReportTitle") on every component
// owned by the form, into the interface language.
void TraducirComponente(QObject* formulario, const QString& propiedad);
