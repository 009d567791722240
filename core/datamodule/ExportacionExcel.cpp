#include "core/datamodule/ExportacionExcel.h"

#include "core/datamodule/CamposHora.h"
#include "core/datamodule/Genemodu.h"
#include "core/datamodule/Traduccion.h"
#include "core/helpers/AnchoCampo.h"
#include "core/helpers/Letras.h"
#include "core/messages/MensajeSistema.h"
#include "core/system/CursorEspera.h"
#include "platform/CommonDialogs.h"
#include "platform/Exceptions.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"
#include "platform/report/Workbook.h"

#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int kTagExcluido = 999;

std::vector<Field*> CamposExportados(const Dataset& dataSet) {
  std::vector<Field*> campos;
  for (int indice = 0; indice < dataSet.FieldCount(); ++indice)
    if (dataSet.Fields(indice).Tag() != kTagExcluido) campos.push_back(&dataSet.Fields(indice));
  return campos;
}

QString ValorCelda(const Field& campo) {
  if (EsCampoHora(campo)) return campo.IsNull() ? QString() : FormatDateTime(QStringLiteral("hh:nn:ss"), campo.AsDateTime());
  switch (campo.DataType()) {
    case ftDateTime: {
      const TDateTime valor = campo.IsNull() ? 0 : campo.AsDateTime();
      return valor == 0 ? QString() : FormatDateTime(QStringLiteral("dd/mm/yyyy"), valor);
    }
    case ftMemo: return campo.Text().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    case ftFloat: return campo.Text().replace(FormatSettings::DecimalSeparator, u'.');
    default: return campo.Text();
  }
}

Workbook::Column FormatoColumna(const Field& campo, bool conDetalle) {
  Workbook::Column columna;
  if (conDetalle) return columna;
  switch (campo.DataType()) {
    case ftFloat:
      columna.general = true;
      columna.right = true;
      columna.width = 15;
      break;
    case ftDateTime:
    case ftInteger:
    case ftSmallint: columna.width = 10; break;
    case ftString: columna.width = std::min(AnchoCampo(campo), 255); break;
    case ftMemo: columna.width = 40; break;
    default: break;
  }
  return columna;
}

// Writes the rows of the sheet, one after another.
class Hoja {
 public:
  explicit Hoja(Workbook& libro) : libro_(libro) {}
  void FilaVacia() { ++fila_; }
  void Encabezados(const std::vector<Field*>& campos, bool traducidos) {
    for (std::size_t columna = 0; columna < campos.size(); ++columna) {
      const QString titulo = SepararPalabras(campos[columna]->FieldName());
      libro_.Write(fila_, static_cast<int>(columna), traducidos ? Traducir(titulo) : titulo, true);
    }
    ++fila_;
  }
  void Registro(const std::vector<Field*>& campos) {
    for (std::size_t columna = 0; columna < campos.size(); ++columna)
      libro_.Write(fila_, static_cast<int>(columna), ValorCelda(*campos[columna]));
    ++fila_;
  }

 private:
  Workbook& libro_;
  int fila_ = 0;
};

void EscribirLibro(Workbook& libro, Dataset& principal, Dataset* detalle, bool encabezados) {
  const std::vector<Field*> campos = CamposExportados(principal);
  for (std::size_t columna = 0; columna < campos.size(); ++columna)
    libro.SetColumn(static_cast<int>(columna), FormatoColumna(*campos[columna], detalle != nullptr));
  Hoja hoja(libro);
  if (!detalle) {
    if (encabezados) {
      hoja.Encabezados(campos, true);
      hoja.FilaVacia();
    }
    for (principal.First(); !principal.Eof(); principal.Next()) hoja.Registro(campos);
    return;
  }
  const std::vector<Field*> camposDetalle = CamposExportados(*detalle);
  for (principal.First(); !principal.Eof(); principal.Next()) {
    hoja.FilaVacia();
    if (encabezados) {
      hoja.Encabezados(campos, true);
      hoja.FilaVacia();
    }
    hoja.Registro(campos);
    hoja.FilaVacia();
    if (encabezados) hoja.Encabezados(camposDetalle, false);
    for (detalle->First(); !detalle->Eof(); detalle->Next()) hoja.Registro(camposDetalle);
  }
}

// The name the user chooses in the module's save dialog; empty when cancelled.
QString ElegirArchivo(const QString& propuesto) {
  QFileDialog sinModulo;
  QFileDialog& dialogo = ModuloDatos ? *ModuloDatos->SaveDialog1 : sinModulo;
  dialogo.setWindowTitle(Traducir(QStringLiteral("Introducir el Nombre del Fichero de Excel")));
  SetFileName(dialogo, propuesto);
  SetFilter(dialogo, Traducir(QStringLiteral("Archivos Excel (*.xls)|*.XLS|Todos los Archivos (*.*)")));
  return CommonDialogsSeam::Get().Execute(dialogo) ? FileName(dialogo) : QString();
}

}  // namespace

void ExportarExcel(Dataset* principal, Dataset* detalle, const QString& archivo, const QString& opciones) {
  const bool sinDialogo = opciones.contains(QLatin1String("SinDialogo"));
  if (detalle && !detalle->Active()) detalle = nullptr;
  if (!principal || !principal->Active()) {
    if (!sinDialogo) MensajeAviso(QStringLiteral("¡La tabla o consulta debe estar activada previamente!"));
    return;
  }
  QString nombre = archivo;
  if (!sinDialogo) {
    QString respuesta;
    MensajeConfirmacion(QStringLiteral("El proceso siguiente cerrará todas las hojas Excel que tenga abiertas en este "
                                       "momento. Debe guardar preeviamente estas hojas para no perder sus datos. "
                                       "¿Desea continuar en cualquier caso?"),
                        respuesta);
    if (respuesta == QLatin1String("NO")) return;
    nombre = ElegirArchivo(archivo);
    if (nombre.isEmpty()) return;
  }
  if (QFileInfo(nombre).suffix().isEmpty()) nombre += QStringLiteral(".xlsx");

  bool guardado = false;
  {
    CursorEspera espera;
    bool encabezados = true;
    if (!sinDialogo && !opciones.contains(QLatin1String("SinFormatoCampos"))) {
      QString respuesta;
      MensajeConfirmacion(QStringLiteral("¿Desea incluir la definición del formato de los campos?"), respuesta);
      encabezados = respuesta != QLatin1String("NO");
    }
    const auto avisar = [&](const Exception& error) {
      if (!sinDialogo) MensajeAviso(QStringLiteral("¡No ha sido posible grabar el archivo!. Motivo: ") + error.Message());
    };
    std::optional<Workbook> libro;
    try {
      libro.emplace(nombre);
    } catch (const Exception& error) {
      avisar(error);
      return;
    }
    EscribirLibro(*libro, *principal, detalle, encabezados);
    try {
      libro->Save();
      guardado = true;
    } catch (const Exception& error) {
      avisar(error);
    }
  }
  if (guardado && !sinDialogo)
    MensajeInformacion(Traducir(QStringLiteral("El archivo ha sido guardado en $Fichero"), QStringLiteral("Fichero=") + nombre));
}
