#pragma once

class Form;
class QKeyEvent;

// The keys of the configuration forms: F1 opens the help of the form's
// caption and Enter moves to the next control. False for any other key.
bool TeclaConfiguracion(Form& formulario, const QKeyEvent& tecla);
