#include "dialogs/LecturaPaquetes.h"

#include "core/helpers/LiteralesSQL.h"
#include "core/sql/ConsultasSQL.h"
#include "core/startup/Configuracion.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/StoredValue.h"
#include "platform/format/DateTime.h"
#include "platform/format/Format.h"

namespace {

constexpr int kPaquete = 100;
const QString kOpciones = QStringLiteral("Open,Silencio");

QString literalDe(const Field* campo, const QVariant& valor) {
  switch (campo ? campo->DataType() : ftString) {
    case ftDate:
    case ftTime:
    case ftDateTime: {
      // The next packet starts after the last row as the column holds it,
      // fractions of a second included.
      const TDateTime fecha = StoredValue::ToDateTime(valor);
      int hora = 0, minuto = 0, segundo = 0, milisegundo = 0;
      DecodeTime(fecha, hora, minuto, segundo, milisegundo);
      if (milisegundo == 0) return ValorSQL(Variant::Date(fecha));
      return LiteralSQL(FormatDateTime(FormatoFechaSQL + QStringLiteral(" hh:nn:ss.zzz"), fecha));
    }
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return QString::number(valor.toLongLong());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      return QString::number(valor.toDouble(), 'g', 17);
    default:
      return LiteralSQL(valor.toString());
  }
}

}  // namespace

LecturaPaquetes::LecturaPaquetes(ClientDataset& filas, Query& consulta) : filas_(filas), consulta_(consulta) {
  filas_.SetProviderDataSet(&consulta_);
  filas_.BeforeGetRecords = [this](Dataset&, const QVariantHash& ultima) {
    QString siguiente;
    if (paquetes_ && paquetes_->PorPosicion()) {
      siguiente = paquetes_->Siguiente(filas_.RecordsCopied());
    } else if (paquetes_) {
      siguiente = paquetes_->Siguiente(ultima, [this](const QString& columna, const QVariant& valor) {
        return literalDe(filas_.FindField(columna), valor);
      });
    }
    if (siguiente.isEmpty()) return false;
    consulta_.SQL().SetText(siguiente);
    return AbrirOEjecutarConsulta(consulta_, kOpciones);
  };
}

bool LecturaPaquetes::Abrir(const QString& sentencia) {
  Cerrar();
  sentencia_ = sentencia;
  return abrir(0);
}

bool LecturaPaquetes::Abrir(std::unique_ptr<PaquetesBusqueda> paquetes) {
  Cerrar();
  sentencia_ = paquetes->Primera();
  paquetes_ = std::move(paquetes);
  return abrir(kPaquete);
}

bool LecturaPaquetes::abrir(int registros) {
  filas_.SetPacketRecords(registros);
  filas_.SetPacketsByPosition(paquetes_ && paquetes_->PorPosicion());
  consulta_.SQL().SetText(sentencia_);
  if (!AbrirOEjecutarConsulta(consulta_, kOpciones)) return false;
  try {
    filas_.SetFiltered(true);
    filas_.Open();
  } catch (const std::exception&) {
    Cerrar();
    return false;
  }
  consulta_.Close();
  return true;
}

void LecturaPaquetes::Cerrar() {
  filas_.Close();
  filas_.SetFilter(QString());
  consulta_.Close();
  paquetes_.reset();
  sentencia_.clear();
}
