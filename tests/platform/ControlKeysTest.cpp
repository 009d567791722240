#include "platform/Form.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QWidget* page(QTabWidget& pages, std::initializer_list<QWidget*> controls) {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  for (QWidget* control : controls) column->addWidget(control);
  pages.addTab(page, QString::number(pages.count() + 1));
  return page;
}

void show(Form& form) {
  form.show();
  QApplication::setActiveWindow(&form);
}

}  // namespace

TEST(ControlKeys, TabLeavesAMemoAndCtrlTabTypesATabInIt) {
  Form form;
  auto* column = new QVBoxLayout(&form);
  auto* memo = new QPlainTextEdit;
  auto* after = new QLineEdit;
  auto* readOnly = new QPlainTextEdit;
  readOnly->setReadOnly(true);
  for (QWidget* control : {static_cast<QWidget*>(memo), static_cast<QWidget*>(after), static_cast<QWidget*>(readOnly)})
    column->addWidget(control);
  show(form);
  memo->setFocus();
  QTest::keyClick(memo, Qt::Key_Tab, Qt::ControlModifier);
  QTest::keyClicks(memo, QStringLiteral("x"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("\tx"));
  EXPECT_TRUE(memo->hasFocus());
  QTest::keyClick(memo, Qt::Key_Tab);
  EXPECT_TRUE(after->hasFocus());
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("\tx"));
  QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(memo->hasFocus());
  QTest::keyClick(memo, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_FALSE(memo->hasFocus());
  readOnly->setFocus();
  QTest::keyClick(readOnly, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_TRUE(readOnly->toPlainText().isEmpty());
}

TEST(ControlKeys, CtrlTabAndCtrlPageKeysTurnThePagesTheFocusIsIn) {
  Form form;
  auto* pages = new QTabWidget(&form);
  auto* first = new QLineEdit;
  auto* memo = new QPlainTextEdit;
  auto* second = new QLineEdit;
  auto* third = new QLineEdit;
  page(*pages, {first, memo});
  page(*pages, {second});
  page(*pages, {third});
  page(*pages, {new QLineEdit});
  pages->setTabEnabled(3, false);
  (new QVBoxLayout(&form))->addWidget(pages);
  show(form);
  first->setFocus();
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int page;
    QLineEdit* focus;
  } steps[] = {
      {Qt::Key_Tab, Qt::ControlModifier, 1, second},
      {Qt::Key_PageDown, Qt::ControlModifier, 2, third},
      {Qt::Key_Tab, Qt::ControlModifier, 0, first},  // past the disabled page
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2, third},
      {Qt::Key_PageUp, Qt::ControlModifier, 1, second},
      {Qt::Key_PageUp, Qt::NoModifier, 1, second},
  };
  for (const auto& step : steps) {
    QTest::keyClick(QApplication::focusWidget(), step.key, step.modifiers);
    EXPECT_EQ(pages->currentIndex(), step.page) << step.key;
    EXPECT_EQ(QApplication::focusWidget(), step.focus) << step.key;
  }
  // From a memo Ctrl+Tab turns the page as Ctrl+PgDn does: nothing is typed.
  for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_PageDown}) {
    pages->setCurrentIndex(0);
    memo->setFocus();
    QTest::keyClick(memo, key, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), 1) << key;
    EXPECT_EQ(memo->toPlainText(), QString()) << key;
  }
}

// Round the pages and back by keyboard, whatever control each page starts
// with: an edit, a read-only memo, a memo, nothing that takes the focus.
TEST(ControlKeys, CtrlTabGoesRoundPagesStartingWithAMemoOrNoFocusWithoutTyping) {
  Form form;
  auto* pages = new QTabWidget(&form);
  auto* edit = new QLineEdit;
  auto* readOnly = new QPlainTextEdit;
  readOnly->setReadOnly(true);
  auto* memo = new QPlainTextEdit;
  page(*pages, {edit});
  page(*pages, {readOnly, new QLineEdit});
  page(*pages, {memo});
  page(*pages, {new QLabel(QStringLiteral("Nada"))});
  (new QVBoxLayout(&form))->addWidget(pages);
  show(form);
  edit->setFocus();
  const struct {
    Qt::KeyboardModifiers modifiers;
    int step;
  } ways[] = {{Qt::ControlModifier, 1}, {Qt::ControlModifier | Qt::ShiftModifier, -1}};
  for (const auto& way : ways)
    for (int turn = 1; turn <= 2 * pages->count(); ++turn) {
      QWidget* focus = QApplication::focusWidget();
      ASSERT_NE(focus, nullptr);
      QTest::keyClick(focus, way.modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab, way.modifiers);
      const int expected = ((way.step > 0 ? turn : 2 * pages->count() - turn) % pages->count());
      EXPECT_EQ(pages->currentIndex(), expected) << turn;
      EXPECT_EQ(memo->toPlainText(), QString()) << turn;
      EXPECT_EQ(readOnly->toPlainText(), QString()) << turn;
      EXPECT_EQ(edit->text(), QString()) << turn;
    }
}

TEST(ControlKeys, AnAcceleratorSharedByButtonsAndAMenuClicksTheFirstButtonThatCanTakeIt) {
  Form form;
  auto* column = new QVBoxLayout(&form);
  auto* menu = new QMenuBar(&form);
  int fileMenu = 0;
  QObject::connect(menu->addMenu(QStringLiteral("&Archivo")), &QMenu::aboutToShow, [&] { ++fileMenu; });
  column->setMenuBar(menu);
  auto* edit = new QLineEdit;
  column->addWidget(edit);
  QMap<QString, int> clicks;
  QList<QPushButton*> buttons;
  for (const char* caption : {"&Agregar", "&Aplicar", "&Salir"}) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    column->addWidget(button);
    buttons << button;
    QObject::connect(button, &QPushButton::clicked, [&clicks, caption] { ++clicks[QString::fromUtf8(caption)]; });
  }
  show(form);
  // Shown, the form's buttons carry letters of their own; the menu's may be one of them.
  EXPECT_EQ(buttons[0]->text(), QStringLiteral("&Agregar"));
  EXPECT_EQ(buttons[1]->text(), QStringLiteral("A&plicar"));
  // A letter given again while it is shown is shared: the first button that can take it is pressed.
  buttons[0]->setText(QStringLiteral("&Agregar"));
  buttons[1]->setText(QStringLiteral("&Aplicar"));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(clicks.value(QStringLiteral("&Agregar")), 1);
  EXPECT_EQ(clicks.value(QStringLiteral("&Aplicar")), 0);
  buttons[0]->setEnabled(false);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(clicks.value(QStringLiteral("&Aplicar")), 1);
  // A letter of one control alone stays the toolkit's.
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_S, Qt::AltModifier);
  // The toolkit's click shows the button down for a moment first.
  EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.value(QStringLiteral("&Salir")) == 1; }, 5000));
  EXPECT_EQ(fileMenu, 0);
  EXPECT_EQ(edit->text(), QString());
}

// A form in the main window's workspace: its own controls answer an
// accelerator before the main menu, as they would in a window of their own.
TEST(ControlKeys, AnAcceleratorOfAFormInTheWorkspaceIsTheFormsBeforeTheMainMenus) {
  QMainWindow principal;
  auto* area = new QMdiArea(&principal);
  principal.setCentralWidget(area);
  int fileMenu = 0;
  int viewMenu = 0;
  QObject::connect(principal.menuBar()->addMenu(QStringLiteral("&Archivo")), &QMenu::aboutToShow, [&] { ++fileMenu; });
  QMenu* view = principal.menuBar()->addMenu(QStringLiteral("&Ver"));
  QObject::connect(view, &QMenu::aboutToShow, [&] { ++viewMenu; });
  auto* form = new Form;
  auto* column = new QVBoxLayout(form);
  auto* edit = new QLineEdit;
  auto* accept = new QPushButton(QStringLiteral("&Aceptar"));
  column->addWidget(edit);
  column->addWidget(accept);
  int clicks = 0;
  QObject::connect(accept, &QPushButton::clicked, [&] { ++clicks; });
  area->addSubWindow(form);
  principal.show();
  form->show();
  QApplication::setActiveWindow(&principal);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(fileMenu, 0);
  // A letter the form does not carry is the main menu's.
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_V, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return viewMenu == 1; }, 5000));
  view->close();
  EXPECT_EQ(clicks, 1);
}

// From a field outside every page control (a form's header, its buttons) the
// page keys turn the form's main pages; from inside a page control holding
// the focus, that one's.
TEST(ControlKeys, PageKeysTurnTheFormsMainPagesFromAnyFieldOfIt) {
  Form form;
  auto* column = new QVBoxLayout(&form);
  auto* nombre = new QLineEdit;
  auto* memo = new QPlainTextEdit;
  auto* small = new QTabWidget;
  page(*small, {new QLineEdit});
  page(*small, {new QLineEdit});
  auto* pages = new QTabWidget;
  auto* first = new QLineEdit;
  auto* inner = new QTabWidget;
  auto* innerFirst = new QLineEdit;
  auto* innerSecond = new QLineEdit;
  page(*inner, {innerFirst});
  page(*inner, {innerSecond});
  page(*pages, {first, inner});
  auto* second = new QLineEdit;
  page(*pages, {second});
  page(*pages, {new QLineEdit});
  auto* accept = new QPushButton(QStringLiteral("&Aceptar"));
  column->addWidget(nombre);
  column->addWidget(memo);
  column->addWidget(small);
  column->addWidget(pages, 1);
  column->addWidget(accept);
  form.resize(500, 600);
  show(form);

  const struct {
    QWidget* from;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int page;
  } steps[] = {
      {nombre, Qt::Key_Tab, Qt::ControlModifier, 1},
      {nombre, Qt::Key_PageDown, Qt::ControlModifier, 2},
      {accept, Qt::Key_PageUp, Qt::ControlModifier, 1},
      {accept, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0},
      {memo, Qt::Key_PageUp, Qt::ControlModifier, 2},
  };
  for (const auto& step : steps) {
    step.from->setFocus();
    QTest::keyClick(step.from, step.key, step.modifiers);
    EXPECT_EQ(pages->currentIndex(), step.page) << step.from->metaObject()->className() << ' ' << step.key;
    EXPECT_EQ(small->currentIndex(), 0) << "the smaller page control is not the form's own";
  }
  EXPECT_EQ(QApplication::focusWidget()->parentWidget(), pages->currentWidget()) << "the page's first field";
  // From a memo outside the pages Ctrl+Tab turns them too, typing nothing.
  memo->setFocus();
  QTest::keyClick(memo, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(memo->toPlainText(), QString());
  EXPECT_EQ(pages->currentIndex(), 0);
  pages->setCurrentIndex(2);
  // The page control the focus is in comes first, the smaller and the inner one too.
  small->currentWidget()->findChild<QLineEdit*>()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(small->currentIndex(), 1);
  EXPECT_EQ(pages->currentIndex(), 2);
  pages->setCurrentIndex(0);
  innerFirst->setFocus();
  QTest::keyClick(innerFirst, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(inner->currentIndex(), 1);
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_TRUE(innerSecond->hasFocus());
}
