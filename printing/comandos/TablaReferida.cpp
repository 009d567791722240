#include "printing/comandos/TablaReferida.h"

#include "core/sql/BaseDatosSQL.h"
#include "core/tables/NombresTablas.h"
#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"
#include "platform/data/Table.h"
#include "printing/comandos/DestinoComandos.h"
#include "printing/comandos/GruposAnalisis.h"
#include "printing/comandos/ReferenciasOrigen.h"
#include "printing/comandos/ValoresImpreso.h"
#include "printing/formlang/AjustesImpreso.h"

#include <optional>

namespace {

constexpr int MayorClave = 4;

// The key parts of a source-document reference, by its kind.
QStringList ClavesReferencia(const QString& valor, int camposIndice) {
  static const struct {
    const char16_t* tipo;
    const char16_t* primera;
    const char16_t* segunda;
  } tipos[] = {{u"OF", u"OF", u"SEC"}, {u"PP", u"PP", u"LIN"}, {u"II", u"II", nullptr},
               {u"OT", u"OT", nullptr}, {u"UE", u"OT", u"UE"},  {u"UC", u"OT", u"UC"}};
  for (const auto& tipo : tipos) {
    if (!TienePrefijoReferencia(QString::fromUtf16(tipo.tipo), valor)) continue;
    QStringList claves{DividirReferencia(QString::fromUtf16(tipo.primera), valor)};
    if (tipo.segunda && camposIndice > 1) claves << DividirReferencia(QString::fromUtf16(tipo.segunda), valor);
    return claves;
  }
  return {valor};
}

QString TextoCampoFila(DestinoComandos& destino, const QString& campo) {
  const std::optional<QVariant> valor = destino.CampoFila(campo);
  return valor ? TextoCampo(*valor) : QString();
}

// A key source: a literal, an analysis group or a field of the row in print.
// The attachments' key may join several fields: `A"+|+"B` gives A's and B's
// texts joined by "|", as the attachment rows store a record's key.
QString ValorFuente(DestinoComandos& destino, const QString& fuente, bool variosCampos) {
  if (fuente.startsWith(u'"')) return fuente.section(u'"', 1, 1);
  if (EsGrupoAnalisis(fuente)) return ValorGrupoAnalisis(destino, fuente);
  if (!variosCampos) return TextoCampoFila(destino, fuente);
  const QString juntura = u"\"+"_qs + destino.Ejecucion().programa.separadorLibre + u"+\""_qs;
  QStringList valores;
  for (const QString& campo : fuente.split(juntura)) valores << TextoCampoFila(destino, campo);
  return valores.join(u'|');
}

// A key text as the index field holds it; none when a number field gets no number.
std::optional<Variant> ValorClave(const Field& campo, const QString& texto) {
  switch (campo.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
      qint64 entero = 0;
      if (!TryStrToInt64(texto, entero)) return std::nullopt;
      return Variant::Int64(entero);
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD: {
      double numero = 0;
      if (!TryStrToFloat(texto, numero)) return std::nullopt;
      return Variant::Double(numero);
    }
    default:
      return Variant::String(texto);
  }
}

}  // namespace

ReferenciaTabla LeerReferenciaTabla(const QString& referencia) {
  const QStringList piezas = referencia.split(u'.');
  return {piezas.first(), piezas.size() > 2 ? piezas.mid(1, piezas.size() - 2).join(u'.') : QString(), piezas.last()};
}

bool PosicionarTablaReferida(DestinoComandos& destino, Table& tabla, const QString& nombre, const QString& enlace) {
  const QString busqueda = (enlace.isEmpty() ? nombre : nombre + u'.' + enlace) + u'>';
  bool encontrado = false;
  for (const AjustesImpreso::Conexion& conexion : destino.Ejecucion().geometria.ajustes.conexiones) {
    if (!(conexion.tabla + u'>' + conexion.resto).contains(busqueda)) continue;
    QStringList claves;
    int fuentes = 0;
    for (int n = 0; n < MayorClave; ++n) {
      const QString fuente = Pieza(conexion.resto, u'|', n);
      if (fuente.isEmpty()) continue;
      ++fuentes;
      claves << ValorFuente(destino, fuente, n == 1 && nombre.contains(u"DOCUTRON"_qs));
    }
    const int camposIndice = tabla.IndexFieldCount();
    const QString primera = Pieza(conexion.resto, u'|', 0);
    if (fuentes == 1 && !primera.isEmpty() && !EsGrupoAnalisis(primera)) claves = ClavesReferencia(claves.first(), camposIndice);
    encontrado = false;
    if (camposIndice < 1 || camposIndice > MayorClave) continue;
    QList<Variant> valores;
    for (int n = 0; n < camposIndice; ++n) {
      const std::optional<Variant> valor = ValorClave(tabla.IndexFields(n), claves.value(n));
      if (!valor) break;
      valores << *valor;
    }
    encontrado = valores.size() == camposIndice && tabla.FindKey(valores);
  }
  return encontrado;
}

std::unique_ptr<Table> AbrirTablaReferida(DestinoComandos& destino, const ReferenciaTabla& referencia) {
  auto tabla = std::make_unique<Table>();
  tabla->SetDatabaseName(BaseDatosBDE(u"Database"_qs));
  // The data layer names a server's tables without the owner their physical name carries.
  tabla->SetTableName(QuitarPrefijoTabla(NombreTablaFisica(referencia.tabla)));
  tabla->SetReadOnly(true);
  tabla->SetOpeningBlock(1);
  tabla->Open();  // a missing table raises: it is never made here
  if (!PosicionarTablaReferida(destino, *tabla, referencia.tabla, referencia.enlace)) return nullptr;
  return tabla;
}

std::optional<QString> ValorCampoTablaReferida(DestinoComandos& destino, const QString& referencia) {
  try {
    const ReferenciaTabla tabla = LeerReferenciaTabla(referencia);
    const std::unique_ptr<Table> referida = AbrirTablaReferida(destino, tabla);
    const Field* campo = referida ? referida->FindField(tabla.campo) : nullptr;
    if (!campo) return std::nullopt;
    return campo->AsString();
  } catch (const Exception&) {
    return std::nullopt;
  }
}
