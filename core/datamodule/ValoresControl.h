#pragma once

class Field;
class DBLookupComboBox;
class QObject;

// Ctrl+I: the value behind the control is cleared, by the control's kind; a
// control of any other kind (an edit among them) is left alone.
void AsignarValorControl(QObject* control);
// The field's empty value: 0 for numbers and dates, an empty text, no bytes.
// Nothing is written when its dataset is closed or cannot be edited.
void BorrarValorCampo(Field& campo);
// The lookup's key back to 0, and its field to "0" (whole numbers) or empty.
void BorrarValorLookup(DBLookupComboBox& lookup);
