#pragma once

class QWidget;

// Blanks a web view (made by VisorWeb) with an empty page written to the
// temporary folder, then lets the window messages run for 100 milliseconds.
void AbrirPaginaHTML(QWidget& vista);
