#pragma once

class QObject;
class QString;

// The user's option that keeps the numeric keypad's point a point.
extern bool DesactivarPuntoPorComaDecimal;

// The set-up every data form runs from its creation (a plain edit that
// must keep its double-click for itself carries the property "OnDblClick"): physical table names,
// display formats, the hooks of its tables and its own events (only where
// they are empty, so the form's own handlers win), the user's rights and
// options, the look, the hidden controls and the translation.
void PrepararFormulario(QObject& formulario);
// The hidden controls of the user (when that mode is on and administrator
// mode is off) and the translation.
void CompletarPreparacion(QObject& formulario);
// Administrator mode: every hint names its control ("fGENEUSER.EditCodigo").
void MarcarNombresControles(QObject& formulario);
// Administrator mode: the control's name under the pointer in the main
// window's caption.
void HintEnEstado(const QString& hint);
