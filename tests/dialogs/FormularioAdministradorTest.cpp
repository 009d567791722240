#include "dialogs/FormularioAdministrador.h"

#include "core/startup/Configuracion.h"
#include "platform/Form.h"
#include "tests/core/connections/ConexionesFixture.h"

#include <QPointer>
#include <QTimer>

namespace {

// Closes itself once it is on screen, and counts its instances.
class FormularioPrueba : public Form {
 public:
  FormularioPrueba() {
    ++vivos;
    ++creados;
  }
  ~FormularioPrueba() override { --vivos; }
  static inline int vivos = 0;
  static inline int creados = 0;
  static inline int mostrados = 0;

 protected:
  void showEvent(QShowEvent* event) override {
    Form::showEvent(event);
    ++mostrados;
    QTimer::singleShot(0, this, [this] { SetModalResult(mrOk); });
  }
};

class FormularioAdministrador : public ConexionesFixture, public ModuloConUsuarios {
 protected:
  FormularioAdministrador() {
    Iniciar();
    CrearUsuarios(u"Codigo, Categoria"_qs,
                  u"('JEFE', 'Administrador'), ('ANA', 'Normal'), ('PERFILADO', 'JEFE')"_qs);
    FormularioPrueba::creados = FormularioPrueba::mostrados = 0;
  }
};

TEST_F(FormularioAdministrador, OnlyAnAdministratorGetsTheFormWhichIsFreedOnClosing) {
  const struct {
    const char* usuario;
    bool abre;
  } casos[] = {{"JEFE", true}, {"PERFILADO", true}, {"ANA", false}, {"NADIE", false}};
  int esperados = 0;
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.usuario);
    CodigoUsuarioActual = QString::fromLatin1(caso.usuario);
    if (!caso.abre) mensajes.Expect(u"A"_qs);
    EXPECT_EQ(AbrirFormularioAdministrador<FormularioPrueba>(), caso.abre);
    if (caso.abre) ++esperados;
    EXPECT_EQ(FormularioPrueba::creados, esperados) << "no form for a refused user";
    EXPECT_EQ(FormularioPrueba::mostrados, esperados);
    EXPECT_EQ(FormularioPrueba::vivos, 0);
  }
  EXPECT_EQ(mensajes.Texts().last(),
            u"¡Es necesario ser un usuario con categoría de Administrador para realizar este proceso!"_qs);
}

}  // namespace
