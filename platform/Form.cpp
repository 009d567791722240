#include "platform/Form.h"

#include "platform/Application.h"
#include "platform/ControlKeys.h"
#include "platform/DialogPlacement.h"
#include "platform/UniqueAccelerators.h"
#include "platform/VirtualKeys.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTextEdit>

namespace {

// The form a widget is on; none for a window of its own (a menu or a list
// that drops down) on the way up.
Form* formOf(QObject* object) {
  for (QObject* at = object; at; at = at->parent()) {
    if (auto* form = qobject_cast<Form*>(at)) return form;
    if (at->isWidgetType() && static_cast<QWidget*>(at)->isWindow()) return nullptr;
  }
  return nullptr;
}

bool isDialogWindow(const QObject* object) {
  if (!object->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(object);
  const Qt::WindowType type = widget->windowType();
  return widget->isWindow() && (type == Qt::Dialog || type == Qt::Sheet || type == Qt::Window) &&
         !widget->inherits("QMainWindow");
}

// Hands the mouse moves of every widget to the slot of the form the widget is
// on; keeps a shared accelerator for the form's key routine; places every
// dialog over the window that opens it.
class FormInputEvents : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseMove:
        if (Form* form = formOf(watched); form && form->OnMouseMove)
          form->OnMouseMove(*form, static_cast<QMouseEvent*>(event));
        break;
      case QEvent::ShortcutOverride:
        if (Form* form = formOf(watched); form && SharedAcceleratorButton(*form, *static_cast<QKeyEvent*>(event))) {
          event->accept();
          return true;
        }
        break;
      case QEvent::Show:
        if (isDialogWindow(watched)) ShowAboveOpener(*static_cast<QWidget*>(watched));
        break;
      case QEvent::WindowActivate:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
          WindowActivated(*static_cast<QWidget*>(watched));
        break;
      default:
        break;
    }
    return false;
  }
};

QAbstractButton* usableButton(QAbstractButton* button) {
  return button && button->isVisible() && button->isEnabled() ? button : nullptr;
}

// The button Esc presses before the form sees it: the form's cancel button
// "pbCancelar", else the one of the page shown of a form whose pages each
// have their own ("pbCancelar1", "pbCancelar2"...).
QAbstractButton* cancelButton(const Form& form) {
  if (QAbstractButton* cancel = usableButton(form.findChild<QAbstractButton*>(QStringLiteral("pbCancelar"))))
    return cancel;
  static const QRegularExpression numbered(QStringLiteral("^pbCancelar\\d+$"));
  for (QAbstractButton* button : form.findChildren<QAbstractButton*>(numbered))
    if (usableButton(button)) return button;
  return nullptr;
}

// The dialog keys: Enter on a focused button, or anywhere but in a memo with
// a default button on the form; Esc with the form's cancel or close button.
QAbstractButton* dialogKeyButton(Form& form, QObject* receiver, quint16 key, Qt::KeyboardModifiers shift) {
  if (shift != Qt::NoModifier) return nullptr;
  if (key == VK::Escape) return cancelButton(form);
  if (key != VK::Return) return nullptr;
  if (auto* button = qobject_cast<QPushButton*>(receiver)) return usableButton(button);
  // Memos take Enter, and grids (their cell editors too) handle it themselves.
  if (qobject_cast<QPlainTextEdit*>(receiver) || qobject_cast<QTextEdit*>(receiver)) return nullptr;
  for (QObject* at = receiver; at && at != &form; at = at->parent())
    if (qobject_cast<QTableView*>(at)) return nullptr;
  for (QPushButton* button : form.findChildren<QPushButton*>())
    if (button->isDefault() && usableButton(button)) return button;
  return nullptr;
}

const QKeyEvent* resending = nullptr;

void resend(QObject* receiver, const QKeyEvent& original, int key, const QString& text) {
  QKeyEvent changed(QEvent::KeyPress, key, original.modifiers() & ~Qt::KeypadModifier, text);
  const QScopedValueRollback<const QKeyEvent*> guard(resending, &changed);
  QCoreApplication::sendEvent(receiver, &changed);
}

QString textOf(quint16 key) {
  switch (key) {
    case VK::Tab: return QStringLiteral("\t");
    case VK::Return: return QStringLiteral("\r");
    default: return {};
  }
}

int keyOfChar(QChar c) {
  switch (c.unicode()) {
    case u'\t': return Qt::Key_Tab;
    case u'\r': return Qt::Key_Return;
    default: return c.toUpper().unicode();
  }
}

bool formKeyPress(QObject* receiver, QKeyEvent* event) {
  Form* form = event == resending ? nullptr : formOf(receiver);
  if (!form) return false;
  quint16 key = VirtualKey(*event);
  const Qt::KeyboardModifiers shift = ShiftState(*event);
  if (QAbstractButton* button = dialogKeyButton(*form, receiver, key, shift)) {
    button->click();
    return true;
  }
  QPointer<QObject> target(receiver);
  QPointer<Form> owner(form);
  const quint16 pressed = key;
  if (form->OnKeyDown) form->OnKeyDown(*form, key, shift);
  if (!target || !owner) return true;
  // A key without a code of its own cannot have been taken: it types its text.
  if (key == 0 && pressed != 0) return true;
  if (key != pressed) {
    resend(target, *event, QtKey(key), textOf(key));
    return true;
  }
  if (target->isWidgetType() && ControlKey(*owner, *static_cast<QWidget*>(target.data()), key, shift)) return true;
  if (QAbstractButton* button = SharedAcceleratorButton(*owner, *event)) {
    button->click();
    return true;
  }
  const QChar typed = shift & (Qt::ControlModifier | Qt::AltModifier) ? QChar() : TypedChar(*event);
  if (!owner->OnKeyPress || typed.isNull()) return false;
  QChar character = typed;
  owner->OnKeyPress(*owner, character);
  if (character.isNull() || !target) return true;
  if (character == typed && event->text() == QString(typed)) return false;
  resend(target, *event, keyOfChar(character), QString(character));
  return true;
}

void watchInputEvents() {
  static QPointer<QObject> filter;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || filter) return;
  filter = new FormInputEvents(app);
  app->installEventFilter(filter);
  if (Application* application = Application::Instance()) application->SetKeyPressFilter(formKeyPress);
}

}  // namespace

Form::Form(QWidget* owner) : QDialog(owner) {
  watchInputEvents();
  if (Application* app = Application::Instance())
    connect(app, &Application::terminateRequested, this, [this] {
      if (modal_) SetModalResult(mrCancel);
    });
}

int Form::ShowModal() {
  const Application* app = Application::Instance();
  if (app && app->Terminated()) return modalResult_ = mrCancel;
  modalResult_ = mrNone;
  modal_ = true;
  const int result = exec();
  modal_ = false;
  // Closed by the window manager or Esc: no result was set.
  if (modalResult_ == mrNone) modalResult_ = result == QDialog::Rejected ? mrCancel : result;
  return modalResult_;
}

void Form::SetModalResult(int result) {
  if (modal_ && result != mrNone && !CloseQuery()) return;
  modalResult_ = result;
  if (modal_ && result != mrNone) QDialog::done(result);
}

bool Form::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  return canClose;
}

void Form::closeEvent(QCloseEvent* event) {
  if (!CloseQuery()) {
    event->ignore();
    return;
  }
  const QScopedValueRollback asked(closeQueried_, true);
  QDialog::closeEvent(event);
}

void Form::done(int result) {
  if (!closeQueried_ && !CloseQuery()) return;
  // QDialog's own accept/reject route through here.
  modalResult_ = result == QDialog::Accepted ? mrOk : result == QDialog::Rejected ? mrCancel : result;
  QDialog::done(modalResult_);
}

void Form::PostSelectNext() {
  QMetaObject::invokeMethod(
      this, [form = QPointer<Form>(this)] {
        if (form) form->focusNextPrevChild(true);
      }, Qt::QueuedConnection);
}

void Form::showEvent(QShowEvent* event) {
  // Only a button the form makes its default takes Enter from other controls.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  GiveUniqueAccelerators(*this);
  QDialog::showEvent(event);
}

void Form::keyPressEvent(QKeyEvent* event) {
  const quint16 key = VirtualKey(*event);
  // An Esc no one took closes the form as its close button does.
  if (key == VK::Escape && event->modifiers() == Qt::NoModifier)
    if (QAbstractButton* close = usableButton(findChild<QAbstractButton*>(QStringLiteral("pbSalir")))) {
      close->click();
      return;
    }
  if (key == VK::Escape || key == VK::Return) {
    QWidget::keyPressEvent(event);
    return;
  }
  QDialog::keyPressEvent(event);
}
