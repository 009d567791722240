#include "platform/Form.h"
#include "platform/VirtualKeys.h"
#include "tests/fixtures/Keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

TEST(VirtualKeys, KeysAreWindowsCodesWithTheKeypadToldApart) {
  constexpr auto kKeypad = Qt::KeypadModifier;
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    quint16 code;
    const char* typed;
  } cases[] = {
      {Qt::Key_0, kKeypad, "0", 96, "0"},     {Qt::Key_9, kKeypad, "9", 105, "9"},
      {Qt::Key_Plus, kKeypad, "+", 107, "+"}, {Qt::Key_Plus, Qt::ShiftModifier, "+", 187, "+"},
      {Qt::Key_Period, kKeypad, ".", 110, "."},
      {Qt::Key_Comma, kKeypad, ",", 110, "."},  // a layout whose keypad types ","
      {Qt::Key_Period, Qt::NoModifier, ".", 190, "."}, {Qt::Key_Down, Qt::NoModifier, "", 40, ""},
      {Qt::Key_Shift, Qt::NoModifier, "", 16, ""},    {Qt::Key_Control, Qt::NoModifier, "", 17, ""},
      {Qt::Key_A, Qt::NoModifier, "a", 'A', "a"},     {Qt::Key_F8, Qt::NoModifier, "", 119, ""},
      {Qt::Key_Enter, kKeypad, "\n", 13, "\r"},
  };
  for (const auto& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
    EXPECT_EQ(VirtualKey(event), c.code) << c.key;
    const QChar typed = TypedChar(event);
    EXPECT_EQ(typed.isNull() ? QString() : QString(typed), QLatin1String(c.typed)) << c.key;
    // Qt reports a modifier key's own press with its modifier flipped.
    if (c.code != VK::Shift && c.code != VK::Control) {
      EXPECT_EQ(ShiftState(event), c.modifiers & ~kKeypad) << c.key;
    }
  }
}

namespace {

// A form with an edit, an accept button Qt would make auto-default and a
// cancel button; the key-downs the form saw.
class FormKeys : public ::testing::Test {
 protected:
  FormKeys() {
    auto* column = new QVBoxLayout(&form);
    for (auto* widget : std::initializer_list<QWidget*>{edit, accept, cancel}) column->addWidget(widget);
    cancel->setObjectName(QStringLiteral("pbCancelar"));
    QObject::connect(accept, &QPushButton::clicked, [this] { ++accepted; });
    QObject::connect(cancel, &QPushButton::clicked, [this] { ++cancelled; });
    form.OnKeyDown = [this](Form&, quint16& key, Qt::KeyboardModifiers) {
      seen << key;
      if (key == 'X') key = 0;
    };
    form.show();
    QApplication::setActiveWindow(&form);
  }

  Form form;
  QLineEdit* edit = new QLineEdit;
  QPushButton* accept = new QPushButton(QStringLiteral("Aceptar"));
  QPushButton* cancel = new QPushButton(QStringLiteral("Cancelar"));
  QList<quint16> seen;
  int accepted = 0, cancelled = 0;
};

}  // namespace

TEST_F(FormKeys, AFocusedButtonTakesEnterAndTheCancelButtonEscBeforeTheForm) {
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(accepted, 0) << "no auto-default button";
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(seen, QList<quint16>{13});
  accept->setFocus();
  QTest::keyClick(accept, Qt::Key_Return);
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(seen, QList<quint16>{13});

  cancel->hide();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible()) << "Esc closes no form by itself";
  EXPECT_EQ(seen, (QList<quint16>{13, 27}));
}

TEST_F(FormKeys, TheControlGetsWhatTheHandlerLeft) {
  edit->setFocus();
  QTest::keyClicks(edit, QStringLiteral("axb"));
  EXPECT_EQ(edit->text(), QStringLiteral("ab"));
  EXPECT_EQ(seen, (QList<quint16>{'A', 'X', 'B'}));
}

TEST_F(FormKeys, AKeyWithoutACodeOfItsOwnReachesTheControlWithItsText) {
  const QString text = QStringLiteral("ana@zem.es Campo_1 [José Pérez] ¿€?");
  TypeAsKeyboard(edit, text);
  EXPECT_EQ(edit->text(), text);
  EXPECT_EQ(seen.count(0), 9) << "the form saw them, without a code";
}

// A form whose pages each have their own cancel button: Esc is the one of
// the page shown.
TEST(FormKeysPages, EscIsTheCancelButtonOfThePageShown) {
  Form form;
  auto* pages = new QStackedWidget(&form);
  QList<int> clicks{0, 0};
  for (int n = 1; n <= 2; ++n) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->addWidget(new QLineEdit);
    auto* cancel = new QPushButton(QStringLiteral("&Cancelar"));
    cancel->setObjectName(QStringLiteral("pbCancelar") + QString::number(n));
    QObject::connect(cancel, &QPushButton::clicked, [&clicks, n] { ++clicks[n - 1]; });
    column->addWidget(cancel);
    pages->addWidget(page);
  }
  (new QVBoxLayout(&form))->addWidget(pages);
  form.show();
  QApplication::setActiveWindow(&form);
  for (int shown : {1, 0}) {
    pages->setCurrentIndex(shown);
    QWidget* edit = pages->currentWidget()->findChild<QLineEdit*>();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
  }
  EXPECT_EQ(clicks, (QList<int>{1, 1}));
}

// Without a cancel button Esc is the close button's; a cancel button that
// can act comes first.
TEST_F(FormKeys, EscIsTheCloseButtonsWhenTheCancelButtonCannotAct) {
  auto* salir = new QPushButton(QStringLiteral("&Salir"));
  salir->setObjectName(QStringLiteral("pbSalir"));
  int cerrado = 0;
  QObject::connect(salir, &QPushButton::clicked, [&] { ++cerrado; });
  form.layout()->addWidget(salir);
  salir->show();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(cerrado, 0);
  cancel->setEnabled(false);
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(cerrado, 1);
}
