#include "core/startup/ClasificacionExcepciones.h"

namespace {

bool contiene(const QString& mensaje, const char* texto) { return mensaje.contains(QLatin1String(texto)); }

QString sentenciaIncorrecta(QString mensaje, const char* prefijo) {
  mensaje.replace(QLatin1String(prefijo), QStringLiteral("¡ La sentencia utilizada es incorrecta ! Palabra: "));
  mensaje.replace(QLatin1String(". Line Number: "), QStringLiteral(" en la línea número: "));
  return mensaje;
}

QString advertencia(const QString& m) {
  QString texto;
  if (m == u"Unable to insert a line")
    texto = QStringLiteral(
        "¡ La cantidad de información es excesiva !. Seleccione menos datos o segrégelos en varios bloques "
        "diferentes.");
  if (m == u"Record already locked by this session")
    texto = QStringLiteral("¡ El registro esta bloqueado en esta sesion !");
  if (m == u"Dataset not in edit or insert mode") texto = QStringLiteral("¡ Debe estar en modo edición !");
  if (m == u"Cannot perform this operation on an empty dataset")
    texto = QStringLiteral("¡ Es imposible realizar esta operación !. La Tabla está vacía.");
  if (m == u"Type mismatch in expression") texto = QStringLiteral("¡ La sentencia tiene un error de sintaxis !");
  if (m == u"No SQL statement available") texto = QStringLiteral("¡ No hay ninguna sentencia SQL disponible !");
  if (contiene(m, "Cannot modify a read-only dataset") || contiene(m, "Table is read only"))
    texto = QStringLiteral("¡Ud. no tiene autorización para realizar modificaciones!");
  if (contiene(m, "Key violation")) texto = QStringLiteral("¡ Ya existe el registro !");
  if (m.contains(QLatin1String("Record/Key Deleted"), Qt::CaseInsensitive))
    texto = QStringLiteral(
        "¡Este registro ya no está disponible en la vista actual!. Para ver la nueva situación vuelva a "
        "seleccionar o filtrar los datos que desee.");
  if (contiene(m, "Record locked by another user"))
    texto = QStringLiteral("¡ El registro esta siendo bloqueado por otro usuario !");
  if (contiene(m, "already has an active transaction"))
    texto = QStringLiteral("¡ Hay una transaccion activa en la Base de Datos !");
  if (contiene(m, "A deadlock was detected"))
    texto = QStringLiteral(
        "¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e intentarlo de "
        "nuevo.");
  if (contiene(m, "is not a valid date"))
    texto = QStringLiteral("¡ La fecha (u hora) introducida no es válida !. Repita por favor.");
  if (contiene(m, "is not a valid time"))
    texto = QStringLiteral("¡ La hora introducida no es válida !. Repita por favor.");
  if (contiene(m, "is not a valid value") || contiene(m, "is not a valid integer value") ||
      contiene(m, "is not a valid floating point value"))
    texto = QStringLiteral("¡ El dato introducido no es válido !. Repita por favor.");
  if (contiene(m, "No index currently active"))
    texto = QStringLiteral("¡La tabla no está disponible. Cierre la ventana e inténtelo de nuevo.");
  if (contiene(m, "Field") && contiene(m, "must have a value")) {
    QString campo = m.mid(6);
    campo.replace(QLatin1String("must have a value"), QString());
    texto = QStringLiteral("¡ Debe introducir un valor en el campo ") + campo + QStringLiteral(" !");
  }
  if (contiene(m, "Invalid use of keyword")) texto = sentenciaIncorrecta(m, "Invalid use of keyword. Token: ");
  if (contiene(m, "Token not found")) texto = sentenciaIncorrecta(m, "Token not found. Token: ");
  return texto;
}

// The error rules; they may overwrite a warning's text.
void error(const QString& m, QString& texto, bool& reparar) {
  const QString traducir = QStringLiteral("TRADUCIR: ") + m;
  if (contiene(m, "Cannot lock network file"))
    texto = QStringLiteral("¡ Es imposible iniciar la aplicación en este momento!. Inténtelo de nuevo.");
  if (m == u"Cannot perform this operation on a closed dataset")
    texto = QStringLiteral("¡ Es imposible realizar esta operación !. La Tabla está cerrada.");
  if (contiene(m, "Table does not exist"))
    texto = QStringLiteral("¡ La tabla no existe !. Compruebe la Base de Datos por favor.");
  if (contiene(m, "Path not found"))
    texto = QStringLiteral("¡ La dirección (path) de la Base de Datos es incorrecta !");
  if (contiene(m, "Field") && contiene(m, "is not of the expected type")) texto = traducir;
  if (contiene(m, "At beginning of table")) texto = QStringLiteral("Al principio de la tabla.");
  if (contiene(m, "Some internal limit"))
    texto =
        QStringLiteral("¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo.");
  if (contiene(m, "Access violation"))
    texto = QStringLiteral(
        "¡Se ha producido un error indeterminado en el sistema!. En estas condiciones es recomendable reiniciar "
        "la computadora.");
  if (contiene(m, "Index is out of date")) {
    texto = traducir;
    reparar = true;
  }
  if (m == u"No index currently active") {
    texto = QStringLiteral("No hay un índice activo en la tabla");
    reparar = true;
  }
}

bool ignorado(const QString& m) {
  return m == u"Cannot focus a disabled or invisible window" || m == u"Error creating cursor handle" ||
         contiene(m, "Table is busy") || contiene(m, "Cursor unknown") || contiene(m, "'0.0' is not a valid");
}

}  // namespace

ClasificacionExcepcion ClasificarExcepcion(const QString& mensaje) {
  ClasificacionExcepcion resultado;
  resultado.texto = advertencia(mensaje);
  if (!resultado.texto.isEmpty()) resultado.grupo = QStringLiteral("Advertencia");
  error(mensaje, resultado.texto, resultado.reparar);
  if (resultado.grupo.isEmpty() && !resultado.texto.isEmpty()) resultado.grupo = QStringLiteral("Error");
  if (ignorado(mensaje)) resultado.texto = QStringLiteral("IGNORAR");
  if (resultado.texto == u"IGNORAR") resultado.grupo = QStringLiteral("IGNORAR");
  if (resultado.texto.isEmpty()) {
    resultado.grupo = QStringLiteral("Advertencia");
    resultado.texto = mensaje;
  }
  return resultado;
}
