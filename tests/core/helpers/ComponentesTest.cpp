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
  void FallaClick(QObject*) { throw Exception(u"fallo"_qs); }
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
  new QObject(&form);  // unnamed
  // A component is not its own component.
  const std::tuple<QObject*, const char*, QObject*> cases[] = {
      {&form, "PBACEPTAR", button}, {&form, "panel1", panel},           {&form, "pbGrabar", nullptr},
      {&form, "", nullptr},         {nullptr, "pbAceptar", nullptr}, {button, "pbAceptar", nullptr}};
  for (const auto& [owner, name, found] : cases) EXPECT_EQ(BuscarComponente(owner, QLatin1String(name)), found) << name;
}

TEST(Componentes, HandlersAreFoundAndCalledByName) {
  FormaDerivada form;
  QObject sender;
  // An ancestor's handler counts; a method without a sender or a signal is no handler.
  for (const char* name : {"DocumentacionElectronica1Click", "documentacionelectronica1click", "BuscarDatosDBEdit"})
    EXPECT_TRUE(TieneMetodo(&form, QLatin1String(name))) << name;
  for (const char* name : {"SinArgumentos", "AvisoClick", "Inexistente"})
    EXPECT_FALSE(TieneMetodo(&form, QLatin1String(name))) << name;
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
