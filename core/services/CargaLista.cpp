#include "core/services/CargaLista.h"

#include "platform/StringList.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Session.h"
#include "platform/data/Table.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kSaltoEnLinea = QString(QChar(0xB7));

// While the list loads, the table numbers its rows itself and its controls
// are told once at the end.
class SinAvisos {
 public:
  explicit SinAvisos(Table& tabla) : tabla_(tabla), alNuevo_(std::exchange(tabla.OnNewRecord, nullptr)) {
    tabla_.DisableControls();
  }
  ~SinAvisos() {
    tabla_.OnNewRecord = std::move(alNuevo_);
    tabla_.EnableControls();
  }
  SinAvisos(const SinAvisos&) = delete;
  SinAvisos& operator=(const SinAvisos&) = delete;

 private:
  Table& tabla_;
  DataSetNotifyEvent alNuevo_;
};

}  // namespace

void CargarLineasLista(Table& tabla, const QString& lista, int numeroCampos) {
  StringList lineas;
  lineas.SetText(lista);
  Field& linea = tabla.FieldByName(QStringLiteral("GENEMLISLinea"));
  QList<Field*> campos;
  for (int j = 1; j <= numeroCampos; ++j) campos.append(&tabla.Fields(j));

  Database* base = Session::Default().FindDatabase(tabla.DatabaseName());
  const bool propia = base && !base->InTransaction();
  const SinAvisos sinAvisos(tabla);
  if (propia) base->StartTransaction();
  try {
    for (int fila = 0; fila < lineas.Count(); ++fila) {
      const QStringList valores = lineas[fila].split(u'|');
      tabla.Append();
      linea.SetAsInteger(fila + 1);
      for (int j = 0; j < campos.size(); ++j) {
        QString valor = valores.value(j);
        if (campos[j]->DataType() == ftMemo) valor.replace(kSaltoEnLinea, kCRLF);
        try {
          campos[j]->SetText(valor);
        } catch (const std::exception&) {
          campos[j]->Clear();
        }
      }
      tabla.Post();
    }
    if (propia) base->Commit();
  } catch (...) {
    if (tabla.Active() && tabla.State() != dsBrowse) tabla.Cancel();
    if (propia && base->InTransaction()) base->Rollback();
    throw;
  }
}
