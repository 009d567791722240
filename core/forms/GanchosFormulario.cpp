#include "core/forms/GanchosFormulario.h"

#include "core/datamodule/IdentificacionUsuario.h"
#include "core/datamodule/RegistrosAsociados.h"
#include "core/datamodule/ResponsabilidadDocumental.h"
#include "core/datamodule/SesionesUso.h"
#include "core/datamodule/Traduccion.h"
#include "core/forms/AsociacionBusqueda.h"
#include "core/forms/ConmutarEuro.h"
#include "core/forms/FormulariosMDI.h"
#include "core/startup/TraduccionFormulario.h"

#include <QWidget>

int UltimaTeclaPulsada = 0;

namespace {

GanchosFormulario DelModuloDeDatos() {
  GanchosFormulario ganchos;
  ganchos.TraducirFormulario = [](QObject& formulario) { TraducirFormulario(&formulario); };
  ganchos.Traducir = [](const QString& texto, const QString& valores) { return Traducir(texto, valores); };
  ganchos.TraducirLista = [](const QString& texto) { return TraducirLista(texto); };
  ganchos.DerechoAccesoPrograma = [](const QString& usuario, const QString& programa) {
    QString derecho;
    DerechoAccesoPrograma(usuario, programa, derecho);
    return derecho;
  };
  ganchos.RegistrarUso = [](const QString& accion, QWidget& formulario) { RegistrarUso(&formulario, accion); };
  ganchos.EliminarRegistrosAsociados = [](Table& tabla) { return EliminarRegistrosAsociados(tabla); };
  ganchos.ComprobarResponsabilidadDocumental = ComprobarResponsabilidadDocumental;
  ganchos.ConmutarEuro = ConmutarEuro;
  ganchos.BuscarFormularioMDI = FormularioMDI;
  ganchos.AsociarTablaBusqueda = AsociarTablaBusqueda;
  return ganchos;
}

}  // namespace

GanchosFormulario& Ganchos() {
  static GanchosFormulario ganchos = DelModuloDeDatos();
  return ganchos;
}

void RestablecerGanchosFormulario() { Ganchos() = DelModuloDeDatos(); }
