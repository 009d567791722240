#include "core/services/VisorCamposUsuario.h"

#include "core/connections/AperturaTablas.h"
#include "core/datamodule/CamposNoVisibles.h"
#include "core/datamodule/ClavesRegistro.h"
#include "core/forms/FormatosCampo.h"
#include "core/helpers/Letras.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/VisorValores.h"
#include "core/tables/CamposUsuario.h"
#include "core/tables/NombresTablas.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/format/Format.h"

#include <QTableWidget>

#include <memory>

namespace {

// The order lines that their own forms take care of.
bool lineasDePedido(const Dataset& dataset, const QString& tablaFisica) {
  const QObject* dueno = dataset.parent();
  if (!dueno) return false;
  const auto es = [&](const char* formulario, const char* tabla) {
    return dueno->objectName().compare(QLatin1String(formulario), Qt::CaseInsensitive) == 0 &&
           tablaFisica.compare(NombreTablaFisica(QLatin1String(tabla)), Qt::CaseInsensitive) == 0;
  };
  return es("fCCOMRECE", "LPEDIDOC") || es("fFACTALBA", "LPEDIDO");
}

// On the record whose primary key the dataset's fields of those names hold.
bool situarRegistro(Dataset& dataset, Table& registro) {
  QString campos;
  for (const IndexDef& indice : registro.IndexDefs())
    if (indice.Options & ixPrimary) campos = indice.Fields;
  const QStringList nombres = campos.split(u';', Qt::SkipEmptyParts);
  if (nombres.isEmpty() || nombres.size() > 6) return false;
  QList<Variant> valores;
  for (const QString& nombre : nombres) {
    const Field* campo = dataset.FindField(nombre);
    if (!campo) return false;
    valores.append(campo->Value());
  }
  return registro.FindKey(valores);
}

bool esHora(const QString& tipo, const QString& nombre) {
  return tipo == u"Fecha" && nombre.contains(QLatin1String("Hora"), Qt::CaseInsensitive);
}

QString textoCampo(const Field& campo, const QString& tipo) {
  if (campo.IsNull()) return {};
  if (esHora(tipo, campo.FieldName())) return TimeToStr(campo.AsDateTime());
  if (tipo == u"Numerico") return FormatFloat(FormatoNumerico(campo.FieldName()), campo.AsFloat());
  return campo.Text();
}

struct CampoUsuario {
  QString nombre;
  QString inicial;
};

// The user fields of the record's table the user may see, with their values.
QList<CampoUsuario> camposUsuario(Table& definiciones, const Table& registro, const QString& tablaFisica) {
  QList<CampoUsuario> campos;
  for (definiciones.First(); !definiciones.Eof(); definiciones.Next()) {
    const QString tabla = NombreTablaFisica(definiciones.FieldByName(QStringLiteral("NombreTabla")).AsString());
    const QString nombre = definiciones.FieldByName(QStringLiteral("NombreCampo")).AsString();
    if (tabla.compare(tablaFisica, Qt::CaseInsensitive) != 0 || CampoNoVisible(nombre)) continue;
    const Field* campo = registro.FindField(nombre);
    if (!campo) continue;
    campos.append({nombre, textoCampo(*campo, definiciones.FieldByName(QStringLiteral("TipoCampo")).AsString())});
  }
  return campos;
}

void avisoBloqueo() {
  MensajeAviso(QStringLiteral("¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!"));
}

void asignar(Field& campo, const QString& texto) {
  try {
    if (campo.DataType() == ftFloat || campo.DataType() == ftCurrency || campo.DataType() == ftBCD)
      campo.SetAsString(QString(texto).remove(FormatSettings::ThousandSeparator));
    else
      campo.SetAsString(texto);
  } catch (const std::exception&) {
    MensajeAviso(QStringLiteral("¡El valor ") + AbreviarNombre(campo.FieldName(), 1) +
                 QStringLiteral(" = ") + texto + QStringLiteral(" es incorrecto!"));
  }
}

// Only what the user changed: a value written back as shown would lose what
// its display leaves out.
void grabarCambios(Table& registro, const QList<CampoUsuario>& campos, const QTableWidget& rejilla) {
  QList<int> cambiadas;
  for (int fila = 0; fila < campos.size(); ++fila) {
    const QTableWidgetItem* valor = rejilla.item(fila, 1);
    if ((valor ? valor->text() : QString()) != campos[fila].inicial) cambiadas.append(fila);
  }
  if (cambiadas.isEmpty()) return;
  try {
    registro.Edit();
  } catch (const std::exception&) {
    avisoBloqueo();
    return;
  }
  for (const int fila : cambiadas) asignar(registro.FieldByName(campos[fila].nombre), rejilla.item(fila, 1)->text());
  try {
    registro.Post();
  } catch (const std::exception&) {
    registro.Cancel();
    avisoBloqueo();
  }
}

}  // namespace

void VisorCamposUsuario(TfGENEINIC& servicios, Dataset& dataset) {
  if (DataSetDeModuloDatos(dataset)) return;
  const QString tabla = NombreTablaDataSet(dataset);
  const QString tablaFisica = NombreTablaFisica(tabla);
  if (tabla.isEmpty() || lineasDePedido(dataset, tablaFisica)) return;

  // A second table: the dataset may be a query, or be showing other edits.
  Table registro;
  registro.SetDatabaseName(dataset.DatabaseName());
  registro.SetTableName(tabla);
  try {
    registro.Open();
  } catch (const std::exception&) {
    return;
  }
  if (!situarRegistro(dataset, registro)) return;

  Table& definiciones = CamposUsuario(servicios);
  definiciones.Close();
  // Open while the form is: its searches read the rows' lookup tables there.
  const std::unique_ptr<Table, void (*)(Table*)> cerrar(&definiciones, [](Table* tabla) { tabla->Close(); });
  if (!AbrirTabla(servicios, definiciones, definiciones)) return;
  const QList<CampoUsuario> campos = camposUsuario(definiciones, registro, tablaFisica);
  if (campos.isEmpty()) return;

  const std::unique_ptr<Form> visor = CrearVisorValores(QStringLiteral("VisorCamposUsuario"));
  QTableWidget& rejilla = RejillaVisorValores(visor, static_cast<int>(campos.size()));
  for (int fila = 0; fila < campos.size(); ++fila) {
    rejilla.setItem(fila, 0, new QTableWidgetItem(campos[fila].nombre));
    rejilla.setItem(fila, 1, new QTableWidgetItem(campos[fila].inicial));
  }
  if (visor->ShowModal() == mrOk) grabarCambios(registro, campos, rejilla);
}
