#include "printing/ClasificacionListado.h"

#include "core/helpers/TiposCampo.h"
#include "core/progress/Geneprog.h"
#include "core/tables/CopiaRegistros.h"
#include "core/tables/CreacionTabla.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

namespace {

constexpr int kCamposClave = 10;
// Pending window messages (Esc) are handled once per this many records.
constexpr int kRegistrosPorAviso = 100;

bool SinOrden(FieldType tipo) { return tipo == ftMemo || tipo == ftFmtMemo || tipo == ftGraphic || tipo == ftBlob; }

QString LineaCampo(int numero, const QString& nombre, const QString& tipo, int tamanio, bool clave) {
  return QStringLiteral("/C/%1/%2/%3/%4/").arg(numero).arg(nombre, tipo).arg(tamanio) +
         (clave ? QStringLiteral("*/") : QString()) + QStringLiteral("\r\n");
}

// Keeps the progress window's Esc answered while the copy runs.
class VentanaClasificacion {
 public:
  VentanaClasificacion() {
    CancelarListado = false;
    VentanaProgreso(QStringLiteral("ON"), QStringLiteral("Clasificación de Registros"), QString(),
                    QStringLiteral("Clasificando..."));
  }
  ~VentanaClasificacion() { VentanaProgreso(QStringLiteral("OFF"), QString(), QString(), QString()); }
  bool Cancelado() {
    VentanaProgreso(QString(), QString(), QString(), QStringLiteral("Clasificando..."));
    return CancelarListado;
  }
};

}  // namespace

QString DefinicionClasificacion(const Dataset& origen) {
  QString definicion = QStringLiteral("Tabla Temporal\r\n");
  QString indice;
  int numero = 0;
  int ordenables = 0;
  const auto contador = [&] {
    definicion += LineaCampo(++numero, QStringLiteral("ContadorAutoLP"), QStringLiteral("ftInteger"), 0, true);
  };
  for (int i = 0; i < origen.FieldCount(); ++i) {
    const Field& campo = origen.Fields(i);
    if (SinOrden(campo.DataType())) continue;
    const bool clave = ordenables < kCamposClave;
    definicion += LineaCampo(++numero, campo.FieldName(), TextoDeTipoCampo(campo.DataType()), campo.Size(), clave);
    if (clave) indice += campo.FieldName() + u';';
    if (++ordenables == kCamposClave) contador();
  }
  if (ordenables < kCamposClave) contador();
  for (int i = 0; i < origen.FieldCount(); ++i) {
    const Field& campo = origen.Fields(i);
    if (SinOrden(campo.DataType()))
      definicion += LineaCampo(++numero, campo.FieldName(), TextoDeTipoCampo(campo.DataType()), campo.Size(), false);
  }
  return definicion + QStringLiteral("/I/1/<Primary>/") + indice + QStringLiteral("ContadorAutoLP\r\n");
}

CopiaClasificada::CopiaClasificada(QObject* propietario) : temporal_(std::make_unique<Table>(propietario)) {
  temporal_->setObjectName(QStringLiteral("Temporal"));
}

CopiaClasificada::~CopiaClasificada() { borrar(); }

void CopiaClasificada::borrar() {
  try {
    temporal_->Close();
    if (creada_) temporal_->DeleteTable();
  } catch (const std::exception&) {
  }
  creada_ = false;
}

bool CopiaClasificada::ClasificarEnTablaTemporal(Dataset& origen) {
  borrar();
  creada_ = CrearTabla(*temporal_, DefinicionClasificacion(origen), -1);
  if (!creada_) return false;
  if (!temporal_->Active()) temporal_->Open();
  const Bookmark marca = origen.GetBookmark();
  origen.DisableControls();
  bool completa = false;
  try {
    VentanaClasificacion ventana;
    int contador = 0;
    bool cancelado = false;
    for (origen.First(); !origen.Eof() && !cancelado; origen.Next()) {
      temporal_->Append();
      CopiarCampos(origen, *temporal_);
      temporal_->FieldByName(QStringLiteral("ContadorAutoLP")).SetAsInteger(++contador);
      temporal_->Post();
      cancelado = contador % kRegistrosPorAviso == 0 && ventana.Cancelado();
    }
    completa = !cancelado;
  } catch (...) {
    if (origen.BookmarkValid(marca)) origen.GotoBookmark(marca);
    origen.EnableControls();
    borrar();
    throw;
  }
  if (origen.BookmarkValid(marca)) origen.GotoBookmark(marca);
  origen.EnableControls();
  if (!completa) {
    borrar();
    return false;
  }
  temporal_->First();
  return true;
}
