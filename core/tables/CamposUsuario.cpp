#include "core/tables/CamposUsuario.h"

#include "core/connections/AperturaTablas.h"
#include "core/connections/Conexiones.h"
#include "core/startup/Geneinic.h"
#include "core/tables/DefinicionesEstructura.h"
#include "core/tables/NombresTablas.h"
#include "platform/Application.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/sql/NombresSQL.h"

namespace {

class CierreAlSalir {
 public:
  explicit CierreAlSalir(Table& tabla) : tabla_(tabla) {}
  ~CierreAlSalir() { tabla_.Close(); }
  CierreAlSalir(const CierreAlSalir&) = delete;
  CierreAlSalir& operator=(const CierreAlSalir&) = delete;

 private:
  Table& tabla_;
};

Table& enGeneral(TfGENEINIC& servicios) {
  Table& tabla = CamposUsuario(servicios);
  tabla.Close();
  tabla.SetDatabaseName(Conexiones(servicios).DatabaseGeneral->DatabaseName());
  return tabla;
}

}  // namespace

Table& CamposUsuario(TfGENEINIC& servicios) {
  const QString nombre = QStringLiteral("CamposUsuario");
  if (auto* tabla = servicios.findChild<Table*>(nombre, Qt::FindDirectChildrenOnly)) return *tabla;
  auto* tabla = new Table(&servicios);
  tabla->setObjectName(nombre);
  tabla->SetTableName(QStringLiteral("CAMPOUSR"));
  return *tabla;
}

void ComprobarCamposUsuario(TfGENEINIC& servicios) {
  // Without the general database start-up has already failed with its own
  // message.
  Application* application = Application::Instance();
  if ((application && application->Terminated()) || !Conexiones(servicios).DatabaseGeneral->Connected()) return;
  Table& tabla = enGeneral(servicios);
  if (AbrirTabla(servicios, servicios, tabla)) {
    tabla.Close();
    return;
  }
  if (application) application->Terminate();
}

QStringList LineasCamposUsuarioTabla(TfGENEINIC& servicios, const QString& tabla, QStringList* noValidos) {
  Table& campos = enGeneral(servicios);
  if (!campos.Exists()) return {};
  const CierreAlSalir cierre(campos);
  campos.Open();
  // The key begins with NombreTabla: only the table's own rows are read.
  const Variant nombre = Variant::String(NombreTablaFisica(tabla).section(u'.', -1));
  campos.SetRange({nombre}, {nombre});
  QStringList lineas;
  int contador = 1000;
  for (campos.First(); !campos.Eof(); campos.Next()) {
    const QString tipo = TipoCampoUsuario(campos.FieldByName(QStringLiteral("TipoCampo")).AsString());
    if (tipo.isEmpty()) continue;
    const QString campo = campos.FieldByName(QStringLiteral("NombreCampo")).AsString();
    // The line's own separators in a name would make other pieces of it.
    if (!NombreObjetoSQLValido(campo, u"/|")) {
      if (noValidos) noValidos->append(campo);
      continue;
    }
    lineas.append(tabla + QStringLiteral("/C/") + QString::number(contador++) + u'/' + campo + u'/' + tipo + u'/' +
                  campos.FieldByName(QStringLiteral("LongitudCampo")).AsString() + QStringLiteral("/NO"));
  }
  return lineas;
}
