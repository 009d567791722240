#include "shell/Geneuser.h"

#include "core/messages/MensajeSistema.h"
#include "core/startup/Configuracion.h"
#include "platform/StringList.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QFileInfo>

namespace {

// Only a user code that is a plain file name has a file of its own.
bool nombreArchivoSimple(const QString& codigo) {
  static const QString prohibidos = QStringLiteral("/\\:*?\"<>|");
  if (codigo.isEmpty() || codigo == QLatin1String(".") || codigo == QLatin1String("..")) return false;
  return std::none_of(codigo.begin(), codigo.end(),
                      [](QChar letra) { return prohibidos.contains(letra) || letra.unicode() < 32; });
}

}  // namespace

std::optional<StringList> TfGENEUSER::LeerArchivoConfiguracion(const QString& usuario) {
  if (!nombreArchivoSimple(usuario)) return std::nullopt;
  const QString archivo = CarpetaPrograma + usuario + QStringLiteral(".cfg");
  StringList lineas;
  try {
    lineas.LoadFromFile(archivo);
  } catch (const std::exception&) {
    // A file that cannot be read is left empty for next time; it gives nothing.
    if (!QFileInfo::exists(archivo)) {
      try {
        StringList().SaveToFile(archivo);
      } catch (const std::exception&) {
      }
    }
    return std::nullopt;
  }
  return lineas;
}

void TfGENEUSER::copiarDatosArchivo(const StringList& archivo) {
  const auto valor = [&archivo](const char* clave) -> std::optional<QString> {
    const int linea = archivo.IndexOfName(QString::fromLatin1(clave));
    if (linea < 0) return std::nullopt;
    return archivo.ValueFromIndex(linea);
  };
  Field& configuracion = Table1->FieldByName(QStringLiteral("Configuracion"));
  StringList datos;
  datos.SetText(configuracion.AsString());
  bool cambiada = false;
  for (const char* clave : {"DatosBusqueda", "ContadorAccesos", "ControlesNoVisibles"})
    if (const auto dado = valor(clave)) {
      datos.SetValue(QString::fromLatin1(clave), *dado);
      cambiada = true;
    }
  if (cambiada) configuracion.SetAsString(datos.Text());
  for (const char* clave : {"ProgramasSoloLectura", "ProgramasNoAccesibles", "ProgramasActivos"})
    if (const auto dado = valor(clave))
      Table1->FieldByName(QString::fromLatin1(clave)).SetAsString(QString(*dado).replace(u',', QStringLiteral("\r\n")));
}

void TfGENEUSER::CopiarDatosUsuariosDesdeArchivoConfiguracionClick() {
  QString respuesta;
  MensajeConfirmacion(
      QStringLiteral("¿Está seguro de querer copiar datos de los usuarios desde los archivos de configuración?"),
      respuesta);
  if (respuesta == QLatin1String("NO") || Editando() || Table1->IsEmpty()) return;
  const QString actual = usuarioActual();
  struct Controles {
    Dataset& tabla;
    ~Controles() { tabla.EnableControls(); }
  } controles{*Table1};
  Table1->DisableControls();
  for (Table1->First(); !Table1->Eof(); Table1->Next()) {
    const std::optional<StringList> archivo = LeerArchivoConfiguracion(usuarioActual());
    if (!archivo) continue;
    try {
      Table1->Edit();
      copiarDatosArchivo(*archivo);
      Table1->Post();
    } catch (const std::exception&) {
      Table1->Cancel();
      MensajeAviso(
          QStringLiteral("¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario."));
    }
  }
  Table1->Locate(QStringLiteral("Codigo"), Variant::String(actual));
}
