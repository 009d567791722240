#include "core/datamodule/ValoresControl.h"

#include "platform/controls/Components.h"
#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBDisplayControls.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DBLookupComboBox.h"
#include "platform/controls/Image.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

namespace {

// Edit mode for the clearing; false when the dataset is closed or another
// program holds the record.
bool enEdicion(Dataset* dataset) {
  if (!dataset || !dataset->Active()) return false;
  if (dataset->State() != dsBrowse) return true;
  try {
    dataset->Edit();
  } catch (const std::exception&) {
  }
  return dataset->State() != dsBrowse;
}

template <class Control>
void borrarCampoDe(QObject* control) {
  if (Field* campo = static_cast<Control*>(control)->BoundField()) BorrarValorCampo(*campo);
}

}  // namespace

void BorrarValorCampo(Field& campo) {
  if (!enEdicion(campo.DataSet())) return;
  switch (campo.DataType()) {
    case ftSmallint:
    case ftInteger:
      campo.SetAsInteger(0);
      break;
    case ftFloat:
      campo.SetAsFloat(0);
      break;
    case ftDateTime:
      campo.SetAsDateTime(0);
      break;
    case ftString:
    case ftMemo:
      campo.SetText(QString());
      break;
    case ftBlob:
    case ftGraphic:
      campo.Clear();
      break;
    default:
      break;
  }
}

// The key shown changes only with the field: a record that cannot be edited
// keeps showing its own.
void BorrarValorLookup(DBLookupComboBox& lookup) {
  Field* campo = lookup.BoundField();
  if (campo && !enEdicion(campo->DataSet())) return;
  lookup.SetKeyValue(Variant::Integer(0));
  if (!campo) return;
  const bool entero = campo->DataType() == ftInteger || campo->DataType() == ftSmallint;
  campo->SetText(entero ? QStringLiteral("0") : QString());
}

void AsignarValorControl(QObject* control) {
  const QString clase = ComponentKind(control);
  if (clase == QLatin1String("TDBCheckBox")) {
    borrarCampoDe<DBCheckBox>(control);
  } else if (clase == QLatin1String("TDBComboBox")) {
    borrarCampoDe<DBComboBox>(control);
  } else if (clase == QLatin1String("TDBImage")) {
    borrarCampoDe<DBImage>(control);
  } else if (clase == QLatin1String("TDBLookupComboBox")) {
    BorrarValorLookup(*static_cast<DBLookupComboBox*>(control));
  } else if (clase == QLatin1String("TImage")) {
    static_cast<Image*>(control)->clear();
  } else if (clase == QLatin1String("TDBGrid")) {
    auto* rejilla = static_cast<DBGrid*>(control);
    Field* columna = rejilla->SelectedField();
    if (!columna || !columna->Lookup() || !columna->DataSet()) return;
    if (Field* clave = columna->DataSet()->FindField(columna->KeyFields())) BorrarValorCampo(*clave);
  }
}
