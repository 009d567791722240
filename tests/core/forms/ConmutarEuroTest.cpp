#include "core/datamodule/PresentacionMoneda.h"
#include "core/forms/ConmutarEuro.h"
#include "core/forms/GanchosFormulario.h"
#include "core/forms/ImagenesEuro.h"
#include "platform/Form.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"
#include "platform/report/ReportComponent.h"
#include "tests/core/datamodule/MonedaFixture.h"

#include <QDir>
#include <QToolButton>

namespace {

// A form with amount fields and an amount report, and its euro button.
class ConmutarEuroFormulario : public MonedaFixture {
 protected:
  ConmutarEuroFormulario() {
    formulario.setObjectName(u"fPRECIOS"_qs);
    tabla->setObjectName(u"Table1"_qs);
    auto campo = [this](const char* nombre, FieldType tipo, int etiqueta) {
      auto* nuevo = new Field(tabla, QString::fromLatin1(nombre), tipo);
      nuevo->setObjectName(u"Table1"_qs + QString::fromLatin1(nombre));
      nuevo->SetTag(etiqueta);
      return nuevo;
    };
    precio = campo("Precio", ftFloat, 1000);
    excluido = campo("Coste", ftFloat, 999);
    unidades = campo("Unidades", ftInteger, 1000);
    informe->setObjectName(u"Informe1"_qs);
    Band& detalle = informe->Report().AddBand(BandKind::Detail, u"Detalle"_qs);
    propio = &detalle.Add(ItemKind::Label, u"Propio"_qs);
    propio->Tag = 1000;
    propio->OnPrint = [](ReportItem&, QString& valor) { valor = u"propio"_qs; };
    for (const auto& [nombre, clase, etiqueta] :
         {std::tuple{"Etiqueta", ItemKind::Label, 1000}, std::tuple{"Dato", ItemKind::DataText, 1001},
          std::tuple{"Suma", ItemKind::Sum, 2000}, std::tuple{"Titulo", ItemKind::Label, 0},
          std::tuple{"Nota", ItemKind::Memo, 1000}})
      detalle.Add(clase, QString::fromLatin1(nombre)).Tag = etiqueta;
    boton->setObjectName(u"pbEuro"_qs);
    boton->setCheckable(true);
  }

  QStringList ConManejador() const {
    QStringList nombres;
    for (const Field* campo : {precio, excluido, unidades})
      if (campo->OnGetText) nombres << campo->FieldName();
    for (const auto& elemento : informe->Report().Bands().front()->Items())
      if (elemento->OnPrint) nombres << elemento->Name;
    return nombres;
  }

  QImage Imagen() const { return boton->icon().pixmap(boton->iconSize()).toImage(); }

  Form formulario;
  Table* tabla = new Table(&formulario);
  Field* precio = nullptr;
  Field* excluido = nullptr;
  Field* unidades = nullptr;
  ReportComponent* informe = new ReportComponent(&formulario);
  ReportItem* propio = nullptr;
  QToolButton* boton = new QToolButton(&formulario);
};

TEST_F(ConmutarEuroFormulario, AssigningReachesFloatAmountsAndAmountItemsAndKeepsTheFormsOwn) {
  ConmutarEuro(formulario, u"Asignar"_qs);
  EXPECT_EQ(ConManejador(), QStringList({u"Precio"_qs, u"Propio"_qs, u"Etiqueta"_qs, u"Dato"_qs, u"Suma"_qs}));
  QString valor = u"1000"_qs;
  propio->OnPrint(*propio, valor);
  EXPECT_EQ(valor, u"propio"_qs);
  ConmutarEuro(formulario, u"Desasignar"_qs);
  EXPECT_EQ(ConManejador(), QStringList());
}

TEST_F(ConmutarEuroFormulario, AnyOtherModeDoesNothing) {
  ConmutarEuro(formulario, u"asignar"_qs);
  EXPECT_EQ(ConManejador(), QStringList({u"Propio"_qs}));
  EXPECT_TRUE(boton->icon().isNull());
}

TEST_F(ConmutarEuroFormulario, TheFormSetUpAssignsThroughItsHook) {
  RestablecerGanchosFormulario();
  ASSERT_TRUE(Ganchos().ConmutarEuro);
  Ganchos().ConmutarEuro(formulario, u"Asignar"_qs);
  EXPECT_TRUE(precio->OnGetText);
}

TEST_F(ConmutarEuroFormulario, TheButtonShowsWhichWayAmountsConvert) {
  const struct {
    int base, euro, nacional;
    const char* imagen;
  } casos[] = {{1, 2, 1, "PTSEURO"}, {2, 2, 1, "EUROPTS"}, {3, 2, 1, "PTSEURO"}};
  for (const auto& caso : casos) {
    Parametros(caso.base, caso.euro, caso.nacional);
    ConmutarEuro(formulario, u"Asignar"_qs);
    const QImage esperada = ImagenEuro(QString::fromLatin1(caso.imagen)).toImage();
    ASSERT_FALSE(esperada.isNull());
    EXPECT_EQ(Imagen(), esperada) << caso.imagen;
    // Kept to be looked at.
    boton->resize(46, 28);
    EXPECT_TRUE(boton->grab().save(QDir::temp().filePath(u"pbEuro-%1.png"_qs.arg(QString::fromLatin1(caso.imagen)))));
    ConmutarEuro(formulario, u"Desasignar"_qs);
    EXPECT_EQ(Imagen(), esperada) << "taking the handlers off leaves the button";
  }
  EXPECT_NE(ImagenEuro(u"PTSEURO"_qs).toImage(), ImagenEuro(u"EUROPTS"_qs).toImage());
}

TEST_F(ConmutarEuroFormulario, WithoutGeneralParametersTheButtonIsLeft) {
  modulo.ParamGenerales->Close();
  ConmutarEuro(formulario, u"Asignar"_qs);
  EXPECT_TRUE(boton->icon().isNull());
  EXPECT_TRUE(precio->OnGetText);
}

}  // namespace
