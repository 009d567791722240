#pragma once

#include <Qt>

class QAbstractButton;
class QKeyEvent;
class QWidget;

// The keys the suite's controls give a meaning Qt's widgets give otherwise or
// not at all, seen after the form's own key routine: Tab leaves a memo;
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp turn the pages of the
// form's page control wherever its focus is, a memo included: the nearest
// one holding the focus, else the form's main one. Ctrl+Tab types a tab only
// in a memo of a form without pages. True when the key was used.
bool ControlKey(QWidget& form, QWidget& focus, quint16 key, Qt::KeyboardModifiers shift);

// Alt and a letter that more than one control or menu of the window (or a
// menu of the main window it is in) carries as its accelerator: the first
// button that can take it, in the window's order, as the dialog manager
// does; none when the letter is not shared.
QAbstractButton* SharedAcceleratorButton(const QWidget& window, const QKeyEvent& event);
