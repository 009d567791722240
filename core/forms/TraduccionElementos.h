#pragma once

class QComboBox;
class QListWidget;

// The items of a list are shown translated (TraducirLista); the items kept
// stay as they are. A list whose items are drawn by a delegate of its own
// is left alone. A combo box's items get the fixed height of 15.
void TraducirElementos(QComboBox& lista);
void TraducirElementos(QListWidget& lista);
