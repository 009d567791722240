#include "core/datamodule/GruposAnalisis.h"

#include "core/datamodule/Genemodu.h"
#include "core/datamodule/PrepararTabla.h"
#include "core/helpers/Listas.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
#include "core/services/MantenimientoLista.h"
#include "core/sql/EjecucionSQL.h"
#include "core/startup/Configuracion.h"
#include "core/tables/NombresTablas.h"
#include "platform/Application.h"
#include "platform/StringList.h"
#include "platform/data/Field.h"

#include <QRegularExpression>

QString RangosGruposAnalisis;

namespace {

const QString kTodas = QStringLiteral("Todas");
const QString kCRLF = QStringLiteral("\r\n");

QString gruposPorSQL(const QString& tabla, const QString& categoria, const QString& clave) {
  QString sql = QStringLiteral(
                    "SELECT T.GrupoAnalisis FROM GRANTAB T JOIN GRANALIS G   ON T.GrupoAnalisis = G.Codigo   "
                    "WHERE T.NombreTabla = ") +
                LiteralSQL(QuitarPrefijoTabla(tabla)) + QStringLiteral("  AND T.ClaveTabla = ") + LiteralSQL(clave);
  if (categoria != kTodas) sql += QStringLiteral("  AND G.CategoriaGrupo = ") + LiteralSQL(categoria);
  // Both engines answer in code order, the order of GRANTAB's key.
  sql += QStringLiteral("  ORDER BY T.GrupoAnalisis");
  const QString resultado = EjecutarSQL(sql, QStringLiteral("Database"));
  if (resultado.startsWith(QLatin1String("Error."))) return {};
  QStringList grupos = resultado.split(kCRLF, Qt::SkipEmptyParts);
  if (categoria != kTodas && grupos.size() > 1) grupos.resize(1);
  return grupos.join(u',');
}

// The data module's tables carry no name in the application manager.
bool prepararConNombre(Table& tabla, const QString& nombre) {
  if (tabla.TableName().isEmpty()) {
    tabla.Close();
    tabla.SetTableName(nombre);
  }
  return PrepararTabla(tabla);
}

QString gruposPorTablas(const QString& tabla, const QString& categoria, const QString& clave) {
  if (!ModuloDatos) return {};
  Table& asignados = *ModuloDatos->GATablas;
  Table& grupos = *ModuloDatos->GAnalisis;
  if (!prepararConNombre(asignados, QStringLiteral("GRANTAB")) || !prepararConNombre(grupos, QStringLiteral("GRANALIS")))
    return {};
  const QList<Variant> registro{Variant::String(QuitarPrefijoTabla(tabla)), Variant::String(clave)};
  asignados.SetRange(registro, registro);
  QStringList encontrados;
  for (asignados.First(); !asignados.Eof(); asignados.Next()) {
    const QString grupo = asignados.FieldByName(QStringLiteral("GrupoAnalisis")).AsString();
    if (categoria == kTodas) {
      encontrados.append(grupo);
    } else if (grupos.FindKey({Variant::String(grupo)}) &&
               grupos.FieldByName(QStringLiteral("CategoriaGrupo")).AsString() == categoria) {
      encontrados.append(grupo);
      break;
    }
  }
  asignados.CancelRange();
  return encontrados.join(u',');
}

struct RangoCategoria {
  QString categoria, desde, hasta;
  explicit RangoCategoria(const QString& linea)
      : categoria(linea.section(u'|', 0, 0)), desde(linea.section(u'|', 1, 1)), hasta(linea.section(u'|', 2, 2)) {}
};

QStringList lineas(const QString& texto) {
  static const QRegularExpression kFinLinea(QStringLiteral("\r\n|\r|\n"));
  return texto.split(kFinLinea, Qt::SkipEmptyParts);
}

bool terminado() { return Application::Instance() && Application::Instance()->Terminated(); }

}  // namespace

QString GruposAnalisisRegistro(const QString& tabla, const QString& categoria, const QString& clave) {
  try {
    return TipoBaseDatos == QLatin1String("Paradox") ? gruposPorTablas(tabla, categoria, clave)
                                                     : gruposPorSQL(tabla, categoria, clave);
  } catch (const std::exception&) {
    return {};
  }
}

QString CategoriasPerfilesGA(const QString& perfiles) {
  if (!ModuloDatos || !ModuloDatos->ParamGenerales->Active()) return {};
  const QString definiciones = ModuloDatos->ParamGenerales->FieldByName(QStringLiteral("PerfilesCategoriasGA")).AsString();
  StringList categorias;
  categorias.SetSorted(true);
  categorias.SetIgnoreDuplicates(true);
  for (const QString& perfil : perfiles.split(u','))
    if (const QString valor = ValorLista(perfil, definiciones); !valor.isEmpty())
      categorias.Add(QString(valor).replace(u',', kCRLF));
  return categorias.Text();
}

QString SeleccionRangosGA(const QString& perfiles, const QString& rangos) {
  const QStringList actuales = lineas(rangos);
  QStringList lista;
  for (const QString& categoria : lineas(CategoriasPerfilesGA(perfiles))) {
    QString linea = categoria;
    for (const QString& actual : actuales)
      if (RangoCategoria(actual).categoria == categoria) {
        linea = actual;
        break;
      }
    lista.append(linea);
  }
  const QString opciones = QStringLiteral(
      "Titulo=Selección de Rangos de Grupos de Análisis\r\nNumeroCampos=3\r\n"
      "DefinicionCampos=Categoria,ftString,30,ReadOnly;ValorDesde,ftString,12;ValorHasta,ftString,12;\r\n");
  QString elegidas = lista.join(kCRLF);
  for (bool repetir = true; repetir && !terminado();) {
    elegidas = MantenimientoLista(opciones, elegidas);
    repetir = false;
    for (const QString& linea : lineas(elegidas)) {
      const RangoCategoria rango(linea);
      if (rango.hasta >= rango.desde) continue;
      MensajeAviso(QStringLiteral("¡El valor Desde es mayor que el valor Hasta en la categoría ") + rango.categoria);
      repetir = true;
    }
  }
  QStringList resultado;
  for (const QString& linea : lineas(elegidas))
    if (const RangoCategoria rango(linea); !rango.desde.isEmpty() || !rango.hasta.isEmpty()) resultado.append(linea);
  RangosGruposAnalisis = resultado.join(kCRLF);
  return RangosGruposAnalisis;
}
