#include "platform/Form.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QChar letterOf(const QString& caption) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  return mnemonic.isEmpty() ? QChar() : QChar(mnemonic[0].key());
}

}  // namespace

// Once shown, a form's captioned buttons carry letters of their own: those
// it gave are kept while free, the others take a free one of their caption;
// buttons on different pages may share one, a label's letter stays its own.
TEST(UniqueAccelerators, EveryCaptionedButtonGetsALetterNoOtherShownWithItCarries) {
  Form form;
  auto* column = new QVBoxLayout(&form);
  auto* label = new QLabel(QStringLiteral("&Nombre"));
  auto* name = new QLineEdit;
  label->setBuddy(name);
  column->addWidget(label);
  column->addWidget(name);
  const struct {
    const char* caption;
    const char* given;
  } buttons[] = {
      {"&Examinar", "&Examinar"},       {"&Examinar", "E&xaminar"},  {"&Examinar", "Ex&aminar"},
      {"&Examinar", "Exa&minar"},       {"&Examinar", "Exam&inar"},  {"Imprimir", "Im&primir"},
      {"&Exportar", "Expo&rtar"},       {"Excel", "Ex&cel"},         {"PDF", "P&DF"},
      {"Cargar && Salir", "Cargar && Sa&lir"}, {"+", "+"},          {"Ñandú", "&Ñandú"},
      {"&Examinar", "Examinar"},        {"&Examinar", "Examinar"},  // no letter of theirs left
  };
  QList<QAbstractButton*> made;
  for (const auto& button : buttons) {
    auto* pressed = new QPushButton(QString::fromUtf8(button.caption));
    column->addWidget(pressed);
    made << pressed;
  }
  auto* tool = new QToolButton;
  tool->setText(QStringLiteral("Vista Previa"));
  column->addWidget(tool);
  auto* box = new QCheckBox(QStringLiteral("Ordenados"));
  column->addWidget(box);
  auto* pages = new QTabWidget;
  QList<QPushButton*> next;
  for (const char* tab : {"&General", "&Otros"}) {
    auto* page = new QWidget;
    next << new QPushButton(QStringLiteral("&Siguiente"), page);
    pages->addTab(page, QString::fromLatin1(tab));
  }
  column->addWidget(pages);
  form.show();
  QApplication::setActiveWindow(&form);
  for (qsizetype n = 0; n < made.size(); ++n)
    EXPECT_EQ(made[n]->text(), QString::fromUtf8(buttons[n].given)) << buttons[n].caption;
  EXPECT_EQ(tool->text(), QStringLiteral("&Vista Previa"));
  EXPECT_EQ(box->text(), QStringLiteral("Ordenados"));
  for (QPushButton* button : next) EXPECT_EQ(button->text(), QStringLiteral("&Siguiente"));
  // Shown again, it keeps them.
  form.hide();
  form.show();
  QApplication::setActiveWindow(&form);
  EXPECT_EQ(made[1]->text(), QStringLiteral("E&xaminar"));

  // Alt and its letter press that one button.
  QList<int> clicks(made.size(), 0);
  for (qsizetype n = 0; n < made.size(); ++n)
    QObject::connect(made[n], &QAbstractButton::clicked, [&clicks, n] { ++clicks[n]; });
  name->setFocus();
  QTest::keyClick(name, Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return clicks[3] == 1; }, 5000));
  EXPECT_EQ(clicks.count(0), made.size() - 1);
  EXPECT_EQ(letterOf(made[3]->text()), QChar(u'M'));
}
