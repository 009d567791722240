#include "core/connections/ConexionEmpresa.h"
#include "core/forms/TablasFormulario.h"
#include "core/services/RutinasBusqueda.h"
#include "core/startup/Configuracion.h"
#include "platform/Form.h"
#include "shell/Genemenu.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

class MenuAdministracion : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  MenuAdministracion() {
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria"_qs, u"('ADMIN', 'Administrador'), ('ANA', 'Normal')"_qs);
  }
  ~MenuAdministracion() override {
    InstalarRutinasBusqueda({});
    EmpresaActual = 0;
  }

  QAction& Item(const char* nombre) {
    QAction* item = ventana.findChild<QAction*>(QString::fromLatin1(nombre));
    [&] { ASSERT_NE(item, nullptr) << nombre; }();
    return *item;
  }

  // The modal window the item shows, as "class|shown", closed at once; the
  // window must be gone once the command ends.
  QString Abrir(QAction& item) {
    QString visto;
    QPointer<Form> abierto;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
      auto* modal = qobject_cast<Form*>(QApplication::activeModalWidget());
      if (!modal || modal == abierto) return;
      abierto = modal;
      visto = QLatin1String(modal->metaObject()->className()) + u'|' + QString::number(modal->isVisible());
      modal->SetModalResult(mrCancel);
    });
    vigia.start(0);
    item.trigger();
    EXPECT_TRUE(abierto.isNull()) << "freed when it closes";
    return visto;
  }

  TfGENEMENU ventana;
};

}  // namespace

// Every item that asks for an administrator: enabled, refused to anyone else
// with the warning and nothing opened.
TEST_F(MenuAdministracion, EachItemIsEnabledAndOpensOnlyForAnAdministrator) {
  CodigoUsuarioActual = u"ANA"_qs;
  for (const char* nombre :
       {"Empresas1", "ConfiguracionDeUsuarios", "CamposdeUsuarioPersonalizados", "ConfiguraciondeAplicaciones1",
        "ConfiguracionDeInternacionalizacion", "ConfiguracindelSistema1",
        "ConfiguracindeResponsabilidadDocumental1", "ConfiguracindeImpresos1", "ActualizacionBaseDatos",
        "TraspasoDatosParadoxInterbase", "ConversorJuegosCaracteres", "GestionCopiasSeguridadSQLServer",
        "CopiadeSeguridadInstantneadeunaEmpresa1", "Restaurarcopiadeseguridaddeunaempresa1",
        "DescargadelaUltimaVersindeMirdalERP1"}) {
    SCOPED_TRACE(nombre);
    QAction& item = Item(nombre);
    ASSERT_TRUE(item.isEnabled());
    mensajes.Expect(u"A"_qs);
    EXPECT_EQ(Abrir(item), QString());
    EXPECT_EQ(mensajes.Texts().last(),
              u"¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"_qs);
  }
  EXPECT_EQ(mensajes.Messages().size(), 15) << "the warning alone";
}

// The administrator gets each master of the shell modally, created for the
// command and freed when it closes.
TEST_F(MenuAdministracion, AnAdministratorGetsEachMasterModally) {
  CodigoUsuarioActual = u"ADMIN"_qs;
  AbrirTablasFormulario(ventana);  // EMPRESA and CONFAPLI, as its showing makes them
  // Company 1, which the responsibility configuration asks for.
  Ejecutar(u"UPDATE EMPRESA SET Abreviatura = 'ZEM' WHERE Codigo = 1"_qs, u"DatabaseGeneral"_qs);
  RutinasBusqueda rutinas;
  rutinas.BuscarDato = [](const QString&, int) { return Variant::Array({Variant::Integer(1)}); };
  InstalarRutinasBusqueda(rutinas);
  const struct {
    const char* item;
    const char* clase;
  } casos[] = {
      {"Empresas1", "TfGENEEMPR"},
      {"CamposdeUsuarioPersonalizados", "TfGENECAUS"},
      {"ConfiguracindelSistema1", "TfGENECSIS"},
      {"ConfiguraciondeAplicaciones1", "TfGENECONF"},
      {"ConfiguracionDeUsuarios", "TfGENEUSER"},
      {"ConfiguracindeResponsabilidadDocumental1", "TfGENECRES"},
      {"ConfiguracionDeInternacionalizacion", "TfGENEIDMA"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.item);
    EXPECT_EQ(Abrir(Item(caso.item)), QLatin1String(caso.clase) + u"|1"_qs);
    EXPECT_TRUE(mensajes.Messages().isEmpty()) << mensajes.Texts().join(u'\n').toStdString();
  }
}
