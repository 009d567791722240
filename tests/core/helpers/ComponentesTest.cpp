#include "core/helpers/Componentes.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

namespace {

class FormaConManejadores : public QObject {
  Q_OBJECT

 public:
  QObject* lastSender = nullptr;
  int calls = 0;

 public slots:
  void DocumentacionElectronica1Click(QObject* sender) {
    lastSender = sender;
    ++calls;
  }
  void FallaClick(QObject*) { throw Exception(QStringLiteral("fallo")); }
  void SinArgumentos() { ++calls; }

 signals:
  void AvisoClick(QObject* sender);
};

class FormaDerivada : public FormaConManejadores {
  Q_OBJECT

 public:
  Q_INVOKABLE void BuscarDatosDBEdit(QObject* sender) { lastSender = sender; }
};

}  // namespace

TEST(Componentes, BuscarComponenteFindsOwnedComponentsWithoutRegardToCase) {
  QObject form;
  auto* panel = new QObject(&form);
  panel->setObjectName(u"Panel1"_qs);
  auto* button = new QObject(panel);
  button->setObjectName(u"pbAceptar"_qs);
  auto* unnamed = new QObject(&form);
  Q_UNUSED(unnamed);
  EXPECT_EQ(BuscarComponente(&form, u"PBACEPTAR"_qs), button);
  EXPECT_EQ(BuscarComponente(&form, u"panel1"_qs), panel);
  EXPECT_EQ(BuscarComponente(&form, u"pbGrabar"_qs), nullptr);
  EXPECT_EQ(BuscarComponente(&form, QString()), nullptr);
  EXPECT_EQ(BuscarComponente(nullptr, u"pbAceptar"_qs), nullptr);
  EXPECT_EQ(BuscarComponente(button, u"pbAceptar"_qs), nullptr);  // not its own component
}

TEST(Componentes, HandlersAreFoundAndCalledByName) {
  FormaDerivada form;
  QObject sender;
  EXPECT_TRUE(TieneMetodo(&form, u"DocumentacionElectronica1Click"_qs));  // an ancestor's
  EXPECT_TRUE(TieneMetodo(&form, u"documentacionelectronica1click"_qs));
  EXPECT_TRUE(TieneMetodo(&form, u"BuscarDatosDBEdit"_qs));
  EXPECT_FALSE(TieneMetodo(&form, u"SinArgumentos"_qs));  // not a handler: no sender
  EXPECT_FALSE(TieneMetodo(&form, u"AvisoClick"_qs));     // a signal
  EXPECT_FALSE(TieneMetodo(&form, u"Inexistente"_qs));
  EXPECT_FALSE(TieneMetodo(nullptr, u"BuscarDatosDBEdit"_qs));

  EXPECT_TRUE(EjecutarMetodo(&form, u"DocumentacionElectronica1Click"_qs, &sender));
  EXPECT_EQ(form.lastSender, &sender);
  EXPECT_EQ(form.calls, 1);
  EXPECT_TRUE(EjecutarMetodo(&form, u"BuscarDatosDBEdit"_qs, nullptr));
  EXPECT_EQ(form.lastSender, nullptr);
  EXPECT_FALSE(EjecutarMetodo(&form, u"Inexistente"_qs, &sender));
  EXPECT_FALSE(EjecutarMetodo(&form, u"FallaClick"_qs, &sender));  // its error is absorbed
  EXPECT_FALSE(EjecutarMetodo(&form, u"SinArgumentos"_qs, &sender));
  EXPECT_EQ(form.calls, 1);
}

#include "ComponentesTest.moc"
