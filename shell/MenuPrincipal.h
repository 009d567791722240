#pragma once

class QMainWindow;
class QMenuBar;

// Fills the menu bar with the main window's menu tree. Every item is a
// QAction named as the window's component, with its number in the property
// "Tag" where it has one; the separators are actions too. The items whose
// commands do not exist yet are disabled.
void ConstruirMenuPrincipal(QMainWindow& ventana, QMenuBar& barra);
