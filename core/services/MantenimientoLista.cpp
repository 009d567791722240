#include "core/services/MantenimientoLista.h"

#include "core/forms/FormatosCampo.h"
#include "core/helpers/Listas.h"
#include "core/helpers/Textos.h"
#include "core/helpers/TiposCampo.h"
#include "core/services/CargaLista.h"
#include "core/services/FormularioRegistrado.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/PosicionFormulario.h"
#include "core/tables/CopiaRegistros.h"
#include "core/tables/CreacionTabla.h"
#include "platform/Exceptions.h"
#include "platform/controls/DBGrid.h"
#include "platform/data/DisabledControls.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/data/ThrowawayWork.h"

#include <QPushButton>

#include <memory>

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kSaltoEnLinea = QString(QChar(0xB7));
const QString kLinea = QStringLiteral("GENEMLISLinea");

QString elemento(int indice, const QString& definicion) { return ExtraerElemento(indice, definicion, u","_qs); }


// The temporary table goes however the launcher ends. Its rows and its
// removal are nobody's after a crash: their commits do not wait for the disk.
class TablaDesechable {
 public:
  explicit TablaDesechable(Table& tabla) : tabla_(tabla) {}
  ~TablaDesechable() {
    try {
      tabla_.Close();
      if (tabla_.TableName().isEmpty()) return;
      const ThrowawayWork sinEspera(tabla_.DatabaseName());
      if (tabla_.Exists()) tabla_.DeleteTable();
    } catch (const std::exception&) {
      // left to the clean-up of temporary tables
    }
  }
  TablaDesechable(const TablaDesechable&) = delete;
  TablaDesechable& operator=(const TablaDesechable&) = delete;

 private:
  Table& tabla_;
};

void prepararColumnas(DBGrid& rejilla, Table& tabla, const QStringList& definiciones, QObject& formulario) {
  QStringList formulas;
  QStringList busquedas;
  for (int i = 0; i < definiciones.size(); ++i) {
    Field& campo = tabla.Fields(i + 1);
    const QString& definicion = definiciones[i];
    if (elemento(3, definicion).contains(QLatin1String("ReadOnly"))) campo.SetReadOnly(true);
    if (!elemento(4, definicion).isEmpty()) formulas.append(campo.FieldName() + u':' + elemento(4, definicion));
    if (!elemento(6, definicion).isEmpty()) busquedas.append(elemento(6, definicion) + u'>' + campo.FieldName());
  }
  formulario.setProperty("FormulasCampos", formulas);
  formulario.setProperty("BusquedasCampos", busquedas);

  for (int columna = 0; columna < rejilla.ColumnCount(); ++columna) {
    Field* campo = rejilla.ColumnField(columna);
    if (!campo) continue;
    if (campo->FieldName() == kLinea || campo->FieldName() == u"EstiloLinea") rejilla.SetColumnVisible(columna, false);
    if (campo->Index() >= 1 && campo->Index() <= definiciones.size()) {
      bool numero = false;
      const int ancho = elemento(5, definiciones[campo->Index() - 1]).trimmed().toInt(&numero);
      if (numero && ancho > 0)
        rejilla.SetColumnWidth(columna, ancho);
      else if (campo->DataType() == ftFloat)
        rejilla.SetColumnWidth(columna, 100);
    }
  }
  for (int i = 0; i < tabla.FieldCount(); ++i) FormatoCampo(&tabla.Fields(i));
}

QString lineaDe(const Table& tabla, int numeroCampos) {
  QStringList valores;
  for (int j = 1; j <= numeroCampos; ++j) valores.append(tabla.Fields(j).AsString().replace(kCRLF, kSaltoEnLinea));
  return valores.join(u'|') + kCRLF;
}

// Every row of the table: a value filter is a view, and rows it hides are
// still on the list.
QString todasLasFilas(Table& tabla, int numeroCampos) {
  tabla.CheckBrowseMode();
  tabla.DisableControls();
  tabla.SetFiltered(false);
  QString resultado;
  for (tabla.First(); !tabla.Eof(); tabla.Next()) resultado += lineaDe(tabla, numeroCampos);
  tabla.EnableControls();
  return resultado;
}

}  // namespace

QString DefinicionTablaLista(const QStringList& definiciones) {
  QString texto = QStringLiteral("Tabla Temporal") + kCRLF + QStringLiteral("/C/1/") + kLinea +
                  QStringLiteral("/ftInteger/0/*/") + kCRLF;
  for (int i = 0; i < definiciones.size(); ++i) {
    bool numero = false;
    const int longitud = elemento(2, definiciones[i]).trimmed().toInt(&numero);
    texto += QStringLiteral("/C/") + QString::number(i + 2) + u'/' + elemento(0, definiciones[i]) + u'/' +
             TextoDeTipoCampo(TipoCampoDeTexto(elemento(1, definiciones[i]))) + u'/' +
             QString::number(numero ? longitud : 0) + u'/' + kCRLF;
  }
  return texto + QStringLiteral("/I/1/<Primary>/") + kLinea;
}

QString MantenimientoLista(const QString& opciones, const QString& lista) {
  const QString modo = ValorLista(QStringLiteral("Modo"), opciones);
  const bool consulta = modo.contains(QLatin1String("Consulta"));
  const bool eliminar = modo.contains(QLatin1String("Eliminar"));
  const QString inicial = consulta && !eliminar ? QString() : lista;

  bool numero = false;
  const int numeroCampos = ValorLista(QStringLiteral("NumeroCampos"), opciones).trimmed().toInt(&numero);
  QStringList definiciones =
      ValorLista(QStringLiteral("DefinicionCampos"), opciones).split(u';', Qt::SkipEmptyParts);
  if (!numero || numeroCampos <= 0 || numeroCampos > definiciones.size()) return inicial;
  definiciones = definiciones.mid(0, numeroCampos);

  AplicarFormato(ValorLista(QStringLiteral("Formato"), opciones), PosicionGENEMLIS);
  const QString clase = QLatin1String(kFormularioMantenimientoLista);
  const std::unique_ptr<Form> formulario = CrearFormularioRegistrado(clase);
  auto* rejilla = &ControlFormulario<DBGrid>(formulario, QStringLiteral("DBGrid1"), clase);
  auto* temporal = &ControlFormulario<Table>(formulario, QStringLiteral("Temporal"), clase);
  auto* aceptar = &ControlFormulario<QPushButton>(formulario, QStringLiteral("pbAceptar"), clase);
  auto* restablecer = &ControlFormulario<QPushButton>(formulario, QStringLiteral("pbRestablecer"), clase);
  auto* cancelar = &ControlFormulario<QPushButton>(formulario, QStringLiteral("pbCancelar"), clase);
  formulario->SetCaption(ValorLista(QStringLiteral("Titulo"), opciones));

  if (consulta) {
    rejilla->SetReadOnly(!eliminar);
    restablecer->hide();
    aceptar->setText(QStringLiteral("&Conforme"));
    if (modo.contains(QLatin1String("Sin Seleccion"))) {
      aceptar->setToolTip(QString());
      cancelar->setToolTip(QStringLiteral("Abandonar"));
    } else {
      aceptar->setToolTip(QStringLiteral("Aceptar los datos seleccionados"));
      cancelar->setToolTip(QStringLiteral("Abandonar sin seleccionar ningún dato"));
      rejilla->SetGridOptions(rejilla->GridOptions() | DBGrid::dgRowSelect);
    }
  } else {
    cancelar->setToolTip(QStringLiteral("Rechazar los datos y Abandonar"));
  }

  const TablaDesechable desechable(*temporal);
  {
    // The grid is told once the table is made, filled and read again, not
    // at each of those steps.
    const DisabledControls enEspera(*temporal);
    try {
      if (!CrearTabla(*temporal, DefinicionTablaLista(definiciones), -1) || !temporal->Active()) return inicial;
    } catch (const Abort&) {
      return inicial;
    }
    {
      const ThrowawayWork sinEspera(temporal->DatabaseName());
      CargarLineasLista(*temporal, lista, numeroCampos);
    }
    RefrescarDataSet(*temporal);
  }
  prepararColumnas(*rejilla, *temporal, definiciones, *formulario);
  formulario->setProperty("CamposTotalizadores", ValorLista(QStringLiteral("CamposTotalizadores"), opciones));
  formulario->setProperty("NoRedimensionar",
                          ValorLista(QStringLiteral("Opciones"), opciones).contains(QLatin1String("NoRedimensionarGrid")));

  QString resultado = inicial;
  if (formulario->ShowModal() == mrOk) {
    if (consulta && !eliminar) {
      temporal->CheckBrowseMode();
      resultado = temporal->IsEmpty() ? QString() : lineaDe(*temporal, numeroCampos);
    } else {
      resultado = todasLasFilas(*temporal, numeroCampos);
    }
  } else if (!consulta) {
    QString respuesta;
    MensajeConfirmacion(QStringLiteral("¿Desea dejar en blanco la lista de datos?"), respuesta);
    if (respuesta == u"SI") resultado.clear();
  }
  return resultado.endsWith(kCRLF) ? resultado.chopped(2) : resultado;
}
