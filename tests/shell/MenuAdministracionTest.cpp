#include "core/startup/Configuracion.h"
#include "shell/Genemenu.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QAction>

namespace {

class MenuAdministracion : public ConexionesFixture, public ModuloConUsuarios {};

}  // namespace

// Each administration item is enabled, and a user who is no administrator
// gets the warning instead of the form.
TEST_F(MenuAdministracion, EachItemIsEnabledAndOpensOnlyForAnAdministrator) {
  Iniciar();
  CrearUsuarios(u"Codigo, Categoria"_qs, u"('ANA', 'Normal')"_qs);
  TfGENEMENU ventana;
  CodigoUsuarioActual = u"ANA"_qs;
  for (const char* nombre :
       {"Empresas1", "ConfiguracionDeUsuarios", "CamposdeUsuarioPersonalizados", "ConfiguraciondeAplicaciones1",
        "ConfiguracionDeInternacionalizacion", "ConfiguracindelSistema1",
        "ConfiguracindeResponsabilidadDocumental1", "ConfiguracindeImpresos1", "GestionCopiasSeguridadSQLServer",
        "CopiadeSeguridadInstantneadeunaEmpresa1", "Restaurarcopiadeseguridaddeunaempresa1"}) {
    SCOPED_TRACE(nombre);
    QAction* item = ventana.findChild<QAction*>(QString::fromLatin1(nombre));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    mensajes.Expect(u"A"_qs);
    item->trigger();
    EXPECT_EQ(mensajes.Texts().last(),
              u"¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"_qs);
  }
}
