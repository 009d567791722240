#include "core/datamodule/TablaBusquedas.h"
#include "core/forms/AsociacionBusqueda.h"
#include "core/services/RutinasBusqueda.h"
#include "core/startup/Configuracion.h"
#include "dialogs/Genesele.h"
#include "platform/FormRegistry.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/FormularioEnPantalla.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// A double-click on an edit with or without a search table: the questions
// asked, the table searched, what is kept and what the edit shows.
class AsociacionBusqueda : public ConexionesFixture {
 protected:
  void SetUp() override {
    Iniciar();
    CarpetaPrograma = carpeta.Path() + u'/';
    RegistrarGENESELE();
    RutinasBusqueda rutinas;
    rutinas.BuscarDato = [this](const QString& tabla, int indice) {
      buscadas.append(tabla + u'/' + QString::number(indice));
      return respuesta;
    };
    InstalarRutinasBusqueda(rutinas);
    cliente.setObjectName(u"EditCodigoCliente"_qs);
    cliente.setText(u"antes"_qs);
  }
  void TearDown() override { FormRegistry::Clear(); }

  // The table picked in the selection list, or the list cancelled.
  static void Elegir(const QString& tabla) {
    AlMostrarse<TfGENESELE>(fGENESELE, [tabla](TfGENESELE& formulario) {
      const auto items = formulario.ListBox1().findItems(tabla, Qt::MatchExactly);
      if (items.isEmpty()) {
        QTest::mouseClick(formulario.findChild<QPushButton*>(u"pbCancelar"_qs), Qt::LeftButton);
        return;
      }
      formulario.ListBox1().setCurrentItem(items.first());
      QTest::mouseClick(formulario.findChild<QPushButton*>(u"pbAceptar"_qs), Qt::LeftButton);
    });
  }

  QLineEdit cliente;
  QStringList buscadas;
  Variant respuesta = Variant::Array({Variant::String(u"42"_qs)});
};

}  // namespace

TEST_F(AsociacionBusqueda, AKnownTableIsSearchedAtOnceAndTheKeyBecomesTheText) {
  GrabarBusqueda(u"EditCodigoCliente"_qs, u"FILTRO"_qs);
  AsociarTablaBusqueda(&cliente);
  EXPECT_TRUE(mensajes.Messages().isEmpty());
  EXPECT_EQ(buscadas, QStringList{u"FILTRO/0"_qs});
  EXPECT_EQ(cliente.text(), u"42"_qs);
  respuesta = Variant::Null();
  AsociarTablaBusqueda(&cliente);
  EXPECT_EQ(cliente.text(), u"42"_qs) << "nothing chosen leaves the text";
}

TEST_F(AsociacionBusqueda, WithoutATableTheUserMayPickOneAndKeepIt) {
  const struct {
    const char* localizar;
    const char* tabla;  // picked in the list; none cancels it
    const char* guardar;
    const char* buscada;
    const char* guardada;
  } casos[] = {
      {"NO", nullptr, nullptr, nullptr, ""},
      {"SI", "", nullptr, nullptr, ""},
      {"SI", "FILTRO", "NO", "FILTRO/0", ""},
      {"SI", "FILTRO", "SI", "FILTRO/0", "FILTRO"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.localizar + std::string(" ") + (caso.tabla ? caso.tabla : "-") + " " +
                 (caso.guardar ? caso.guardar : "-"));
    GrabarBusqueda(u"EditCodigoCliente"_qs, QString());
    buscadas.clear();
    cliente.setText(u"antes"_qs);
    const qsizetype antes = mensajes.Texts().size();
    mensajes.Expect(u"C"_qs, QString::fromLatin1(caso.localizar));
    if (caso.tabla) Elegir(QString::fromLatin1(caso.tabla));
    if (caso.guardar) mensajes.Expect(u"C"_qs, QString::fromLatin1(caso.guardar));
    AsociarTablaBusqueda(&cliente);
    EXPECT_EQ(mensajes.Texts().value(antes), u"No existe una Tabla de Búsqueda asociada al control 'Edit Codigo Cliente'. "
                                         u"¿Desea localizar una tabla adecuada ahora?"_qs);
    if (caso.guardar) {
      EXPECT_EQ(mensajes.Texts().value(antes + 1),
                u"¿Desea asociar el control 'Edit Codigo Cliente' con la tabla FILTRO de forma permanente?"_qs);
    }
    EXPECT_EQ(buscadas, caso.buscada ? QStringList{QString::fromLatin1(caso.buscada)} : QStringList());
    EXPECT_EQ(cliente.text(), caso.buscada ? u"42"_qs : u"antes"_qs);
    EXPECT_EQ(LeerBusqueda(u"EditCodigoCliente"_qs), QString::fromLatin1(caso.guardada));
  }
}

TEST_F(AsociacionBusqueda, TheListOffersTheCompanyTablesOnly) {
  QStringList ofrecidas;
  AlMostrarse<TfGENESELE>(fGENESELE, [&ofrecidas](TfGENESELE& formulario) {
    for (int i = 0; i < formulario.ListBox1().count(); ++i) ofrecidas.append(formulario.ListBox1().item(i)->text());
    QTest::mouseClick(formulario.findChild<QPushButton*>(u"pbCancelar"_qs), Qt::LeftButton);
  });
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  AsociarTablaBusqueda(&cliente);
  EXPECT_TRUE(ofrecidas.contains(u"FILTRO"_qs));
  EXPECT_FALSE(ofrecidas.contains(u"USUARIO"_qs));
  EXPECT_FALSE(ofrecidas.contains(u"EMPRESA"_qs));
  QStringList ordenadas = ofrecidas;
  ordenadas.sort(Qt::CaseInsensitive);
  EXPECT_EQ(ofrecidas, ordenadas);
}
