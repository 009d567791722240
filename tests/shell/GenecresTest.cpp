#include "shell/Genecres.h"

#include "core/connections/ConexionEmpresa.h"
#include "core/forms/TablasFormulario.h"
#include "core/services/RutinasBusqueda.h"
#include "core/startup/Configuracion.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "tests/core/connections/ConexionesFixture.h"
#include "tests/dialogs/CapturaFormulario.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

namespace {

// The configuration on company 1 ("ZEM"), whose database has CLIENTES, on
// the engine given; the company search chooses the company set.
class ConfiguracionResponsabilidad : public ConexionesFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  ConfiguracionResponsabilidad() {
    instalacion.Engine(QString::fromLatin1(GetParam()));
    Iniciar();
    {
      QObject formulario;
      (new Table(&formulario))->SetTableName(u"EMPRESA"_qs);
      AbrirTablasFormulario(formulario);
    }
    Ejecutar(u"UPDATE EMPRESA SET Abreviatura = 'ZEM' WHERE Codigo = 1"_qs, u"DatabaseGeneral"_qs);
    ConectarEmpresa(Servicios(), 1);
    Ejecutar(u"CREATE TABLE CLIENTES (Codigo INTEGER, Nombre VARCHAR(40))"_qs);
    RutinasBusqueda rutinas;
    rutinas.BuscarDato = [this](const QString&, int) {
      return empresa ? Variant::Array({Variant::Integer(empresa)}) : Variant::Null();
    };
    InstalarRutinasBusqueda(rutinas);
  }
  static QStringList Lineas(const QListWidget& lista) {
    QStringList texto;
    for (int n = 0; n < lista.count(); ++n) texto << lista.item(n)->text();
    return texto;
  }
  static void Elegir(QListWidget& lista, const QString& linea) {
    lista.clearSelection();
    lista.findItems(linea, Qt::MatchExactly).first()->setSelected(true);
  }

  int empresa = 1;
};

}  // namespace

TEST_P(ConfiguracionResponsabilidad, NoCompanyChosenLeavesTheFormUnopened) {
  empresa = 0;
  TfGENECRES f;
  EXPECT_FALSE(f.Abierto());
}

TEST_P(ConfiguracionResponsabilidad, FieldsMoveBetweenTheListsAndTheDoersCodesGoWithTheirLine) {
  TfGENECRES f;
  ASSERT_TRUE(f.Abierto());
  EXPECT_EQ(f.Caption(), u"ZEM: Configuración de Responsabilidad Documental"_qs);
  auto* tablas = f.findChild<QComboBox*>(u"EditNombreTabla"_qs);
  EXPECT_GE(tablas->findText(u"CLIENTES"_qs), 0);
  auto& pedidos = *f.findChild<QListWidget*>(u"ListaCamposSolicitados"_qs);
  auto& disponibles = *f.findChild<QListWidget*>(u"ListaCamposDisponibles"_qs);

  f.AgregarClick();
  // Opening the list of tables does not leave the key.
  QFocusEvent desplegada(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(tablas, &desplegada);
  ASSERT_EQ(f.Table1->State(), dsInsert);
  tablas->setCurrentIndex(tablas->findText(u"CLIENTES"_qs));
  emit tablas->textActivated(tablas->currentText());
  EXPECT_EQ(f.Table1->FieldByName(u"NombreTabla"_qs).AsString(), u"CLIENTES"_qs);
  EXPECT_EQ(Lineas(disponibles), QStringList({u"AprobadoPor"_qs, u"FechaAprobacion"_qs, u"FechaRealizacion"_qs,
                                              u"FechaRegistro"_qs, u"RealizadoPor"_qs, u"RegistradoPor"_qs}));
  for (const QString& campo : {u"RealizadoPor"_qs, u"AprobadoPor"_qs}) {
    Elegir(disponibles, campo);
    f.pbAAccesiblesClick();
  }
  Elegir(pedidos, u"RealizadoPor"_qs);
  f.show();
  CapturaFormulario(f, u"configuracion-responsabilidad"_qs);
  mensajes.Expect(u"P"_qs, u"3,7"_qs);
  f.AsignarOperariosporDefecto1Click();
  f.pbConformeClick();
  f.pbCancelarClick();
  EXPECT_EQ(EjecutarSQL(u"SELECT CamposSolicitados FROM CONFRESP WHERE NombreTabla = 'CLIENTES'"_qs, u"Database"_qs),
            u"RealizadoPor:3,7\r\nAprobadoPor\r\n"_qs);

  ASSERT_TRUE(f.Table1->Locate(u"NombreTabla"_qs, Variant::String(u"CLIENTES"_qs)));
  EXPECT_EQ(Lineas(pedidos), QStringList({u"RealizadoPor:3,7"_qs, u"AprobadoPor"_qs}));
  Elegir(pedidos, u"RealizadoPor:3,7"_qs);
  f.pbANoAccesiblesClick();
  EXPECT_TRUE(disponibles.findItems(u"RealizadoPor"_qs, Qt::MatchExactly).size() == 1);
  EXPECT_EQ(pedidos.currentItem()->text(), u"AprobadoPor"_qs) << "the line at the place left";
  Elegir(disponibles, u"RealizadoPor"_qs);
  f.pbAAccesiblesClick();
  EXPECT_EQ(Lineas(pedidos), QStringList({u"AprobadoPor"_qs, u"RealizadoPor"_qs}));

  // Only the two signatures take operators.
  Elegir(disponibles, u"FechaRealizacion"_qs);
  f.pbAAccesiblesClick();
  Elegir(pedidos, u"AprobadoPor"_qs);
  pedidos.findItems(u"FechaRealizacion"_qs, Qt::MatchExactly).first()->setSelected(true);
  const QString antes = f.Table1->FieldByName(u"CamposSolicitados"_qs).AsString();
  mensajes.Expect(u"A"_qs);
  f.AsignarOperariosporDefecto1Click();
  EXPECT_EQ(mensajes.Texts().last(),
            u"Solo es posible asignar operarios por defecto a los campos AprobadoPor y RealizadoPor"_qs);
  EXPECT_EQ(f.Table1->FieldByName(u"CamposSolicitados"_qs).AsString(), antes);

  f.pbAAccesiblesTodoClick();
  EXPECT_EQ(disponibles.count(), 0);
  EXPECT_FALSE(f.findChild<QPushButton*>(u"pbAAccesibles"_qs)->isEnabled());
  f.pbANoAccesiblesTodoClick();
  EXPECT_EQ(pedidos.count(), 0);
  EXPECT_EQ(disponibles.count(), 6);
  EXPECT_FALSE(f.findChild<QAction*>(u"CopiarRegistrosaOtrasEmpresas1"_qs)->isEnabled()) << "while editing";
  f.pbCancelarClick();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConfiguracionResponsabilidad, ::testing::Values("Microsoft SQL Server", "Paradox"));
