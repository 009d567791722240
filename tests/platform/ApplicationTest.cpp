#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/FormRegistry.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class ApplicationTest : public ::testing::Test {
 protected:
  static Application* app() { return Application::Instance(); }
};

}  // namespace

TEST_F(ApplicationTest, TerminatedBeforeTheLoopEndsTheProgramWithoutEnteringIt) {
  bool loopRan = false;
  QObject scope;  // the pending call dies with the test
  QTimer::singleShot(0, &scope, [&] {
    loopRan = true;
    app()->quit();
  });
  app()->Terminate();
  EXPECT_EQ(app()->Run(), 0);
  EXPECT_FALSE(loopRan);
}

TEST_F(ApplicationTest, ModalResultsCloseTheFormWithTheirValueAndTerminationAsCancelled) {
  // -1: closed by the system menu; -2: the program terminated while the form is on screen.
  for (int result : {int(mrOk), int(mrYes), int(mrNo), int(mrIgnore), -1, -2}) {
    Form form;
    QTimer::singleShot(0, [&] { result == -1 ? (void)form.close() : result == -2 ? app()->Terminate() : form.SetModalResult(result); });
    EXPECT_EQ(form.ShowModal(), result < 0 ? int(mrCancel) : result);
    EXPECT_FALSE(form.isVisible());
  }
  // Opened after termination: back at once, never shown.
  Form form;
  bool shown = false;
  QTimer::singleShot(0, &form, [&] {
    shown = form.isVisible();
    form.SetModalResult(mrOk);
  });
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_FALSE(shown);
}

TEST_F(ApplicationTest, AnExceptionInAnEventHandlerReachesTheHandler) {
  QStringList handled;
  QObject* handledSender = nullptr;
  app()->SetExceptionHandler([&](QObject* sender, const Exception& error) {
    handled.append(error.Message());
    handledSender = sender;
  });
  Form form;
  QPushButton button(&form);
  QObject::connect(&button, &QPushButton::clicked, [] { throw Exception(u"Key violation"_qs); });
  QTimer::singleShot(0, [&] { button.click(); });
  QTimer::singleShot(0, [] { throw Abort(); });  // silent
  QTimer::singleShot(0, [] { throw std::runtime_error("otro"); });
  QTimer::singleShot(1, [&] { form.SetModalResult(mrOk); });
  form.ShowModal();
  EXPECT_EQ(handled, QStringList({u"Key violation"_qs, u"otro"_qs}));
  EXPECT_NE(handledSender, nullptr);
}

TEST_F(ApplicationTest, FormsOfHigherLayersAreCreatedThroughTheRegistry) {
  EXPECT_EQ(FormRegistry::Create(u"TfGENEDIAG"_qs, nullptr), nullptr);
  FormRegistry::Register(u"TfGENEDIAG"_qs, [](QWidget* owner) {
    auto* form = new Form(owner);
    form->setObjectName(u"fGENEDIAG"_qs);
    return form;
  });
  Form owner;
  QWidget* created = FormRegistry::Create(u"TfGENEDIAG"_qs, &owner);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->objectName(), u"fGENEDIAG"_qs);
  EXPECT_EQ(created->parent(), &owner);
}
