#include "platform/ControlKeys.h"

#include "platform/VirtualKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>

namespace {

bool isMemo(const QWidget& widget) {
  return qobject_cast<const QPlainTextEdit*>(&widget) || qobject_cast<const QTextEdit*>(&widget);
}

bool readOnly(const QWidget& memo) {
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&memo)) return plain->isReadOnly();
  return static_cast<const QTextEdit&>(memo).isReadOnly();
}

void typeTab(QWidget& memo) {
  if (readOnly(memo)) return;
  if (auto* plain = qobject_cast<QPlainTextEdit*>(&memo))
    plain->insertPlainText(QStringLiteral("\t"));
  else
    static_cast<QTextEdit&>(memo).insertPlainText(QStringLiteral("\t"));
}

// Tab and Shift+Tab go on to the widget's own focus change, which a memo
// takes instead of typing.
void tabLeaves(QWidget& memo) {
  if (auto* plain = qobject_cast<QPlainTextEdit*>(&memo))
    plain->setTabChangesFocus(true);
  else
    static_cast<QTextEdit&>(memo).setTabChangesFocus(true);
}

QTabWidget* pagesAround(QWidget& focus, const QWidget& form) {
  for (QWidget* at = &focus; at && at != &form && !at->isWindow(); at = at->parentWidget())
    if (auto* pages = qobject_cast<QTabWidget*>(at)) return pages;
  return nullptr;
}

bool nestedInPages(const QWidget& widget, const QWidget& form) {
  for (const QWidget* at = widget.parentWidget(); at && at != &form; at = at->parentWidget())
    if (qobject_cast<const QTabWidget*>(at)) return true;
  return false;
}

// The form's own page control: the largest one shown that no other holds,
// the first made of equals.
QTabWidget* mainPages(const QWidget& form) {
  QTabWidget* main = nullptr;
  qint64 mainArea = 0;
  for (QTabWidget* pages : form.findChildren<QTabWidget*>()) {
    if (!pages->isVisibleTo(&form) || !pages->isEnabled() || nestedInPages(*pages, form)) continue;
    const qint64 area = qint64(pages->width()) * pages->height();
    if (!main || area > mainArea) {
      main = pages;
      mainArea = area;
    }
  }
  return main;
}

void focusFirstControl(QWidget& page) {
  for (QWidget* at = page.nextInFocusChain(); at && at != &page; at = at->nextInFocusChain()) {
    if (!page.isAncestorOf(at)) continue;
    if (at->isVisibleTo(&page) && at->isEnabled() && (at->focusPolicy() & Qt::TabFocus)) {
      at->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  page.setFocus(Qt::TabFocusReason);
}

bool turnPage(QTabWidget& pages, int step) {
  const int count = pages.count();
  if (count < 2) return false;
  for (int index = pages.currentIndex(), pass = 1; pass < count; ++pass) {
    index = (index + step + count) % count;
    if (!pages.isTabEnabled(index) || !pages.isTabVisible(index)) continue;
    pages.setCurrentIndex(index);
    focusFirstControl(*pages.currentWidget());
    return true;
  }
  return false;
}

bool carries(const QString& caption, int key) {
  const QKeySequence accelerator = QKeySequence::mnemonic(caption);
  return !accelerator.isEmpty() && accelerator[0].key() == key;
}

}  // namespace

bool ControlKey(QWidget& form, QWidget& focus, quint16 key, Qt::KeyboardModifiers shift) {
  const bool ctrl = shift == Qt::ControlModifier, ctrlShift = shift == (Qt::ControlModifier | Qt::ShiftModifier);
  if (key == VK::Tab && isMemo(focus) && (shift == Qt::NoModifier || shift == Qt::ShiftModifier)) {
    tabLeaves(focus);
    return false;
  }
  const bool forward = (key == VK::Tab && ctrl) || (key == VK::Next && ctrl);
  const bool back = (key == VK::Tab && ctrlShift) || (key == VK::Prior && ctrl);
  if (!forward && !back) return false;
  QTabWidget* pages = pagesAround(focus, form);
  if (!pages) pages = mainPages(form);
  if (pages && turnPage(*pages, forward ? 1 : -1)) return true;
  // Going round the pages never types; a memo on a form without them takes Ctrl+Tab as a tab.
  if (key != VK::Tab || !ctrl || !isMemo(focus)) return false;
  typeTab(focus);
  return true;
}

QAbstractButton* SharedAcceleratorButton(const QWidget& window, const QKeyEvent& event) {
  if (event.modifiers() != Qt::AltModifier) return nullptr;
  const int key = event.key();
  const auto usable = [&window](const QWidget* widget) {
    return widget->isVisible() && widget->isEnabled() && widget->window() == window.window() &&
           (widget == &window || window.isAncestorOf(widget));
  };
  QAbstractButton* first = nullptr;
  int owners = 0;
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
    if (usable(button) && carries(button->text(), key)) {
      if (!first) first = button;
      ++owners;
    }
  for (const QLabel* label : window.findChildren<QLabel*>())
    if (usable(label) && label->buddy() && carries(label->text(), key)) ++owners;
  // A form inside the main window shares its letters with the main menu,
  // which answers only after the form.
  for (const QMenuBar* menu : window.window()->findChildren<QMenuBar*>())
    if (menu->isVisible() && menu->isEnabled() && menu->window() == window.window())
      for (const QAction* entry : menu->actions())
        if (entry->isVisible() && entry->isEnabled() && carries(entry->text(), key)) ++owners;
  return owners > 1 ? first : nullptr;
}
