#include "platform/UniqueAccelerators.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>

#include <optional>
#include <vector>

namespace {

// The position of the letter after a single "&" ("&&" is an ampersand).
std::optional<qsizetype> markedLetter(const QString& caption) {
  for (qsizetype at = 0; at + 1 < caption.size(); ++at) {
    if (caption[at] != u'&') continue;
    if (caption[at + 1] == u'&') {
      ++at;
      continue;
    }
    return at + 1;
  }
  return std::nullopt;
}

QChar letterOf(const QString& caption) {
  const auto at = markedLetter(caption);
  return at && caption[*at].isLetterOrNumber() ? caption[*at].toUpper() : QChar();
}

QString withoutMark(const QString& caption) {
  QString plain;
  for (qsizetype at = 0; at < caption.size(); ++at) {
    if (caption[at] != u'&') {
      plain += caption[at];
    } else if (at + 1 < caption.size() && caption[at + 1] == u'&') {
      plain += QStringLiteral("&&");
      ++at;
    }
  }
  return plain;
}

// A letter of the keyboard's own keys: no accent to compose.
bool typedWithAlt(QChar letter) {
  const QChar upper = letter.toUpper();
  return (upper >= u'A' && upper <= u'Z') || upper == u'Ñ';
}

// The letters a caption may take, best first: its words' initials, then
// the rest in order.
std::vector<qsizetype> candidates(const QString& plain) {
  std::vector<qsizetype> initials, others;
  for (qsizetype at = 0; at < plain.size(); ++at) {
    if (!typedWithAlt(plain[at])) continue;
    const bool initial = at == 0 || !plain[at - 1].isLetterOrNumber();
    (initial ? initials : others).push_back(at);
  }
  initials.insert(initials.end(), others.begin(), others.end());
  return initials;
}

bool showsCaption(const QAbstractButton& button) {
  if (button.text().isEmpty() || qobject_cast<const QCheckBox*>(&button) || qobject_cast<const QRadioButton*>(&button))
    return false;
  const auto* tool = qobject_cast<const QToolButton*>(&button);
  return !tool || tool->toolButtonStyle() != Qt::ToolButtonIconOnly || tool->icon().isNull();
}

// Whether two controls lie on different pages of one page control.
bool onOtherPages(const QWidget& one, const QWidget& other) {
  for (const QWidget* page = &one; page && page->parentWidget(); page = page->parentWidget()) {
    const auto* pages = qobject_cast<const QStackedWidget*>(page->parentWidget());
    if (!pages || !pages->isAncestorOf(&other)) continue;
    return !page->isAncestorOf(&other);
  }
  return false;
}

struct Claim {
  const QWidget* owner;
  QChar letter;
};

}  // namespace

void GiveUniqueAccelerators(QWidget& window) {
  std::vector<Claim> claims;
  const auto free = [&claims](const QWidget* owner, QChar letter) {
    for (const Claim& claim : claims)
      if (claim.letter == letter && (!claim.owner || !onOtherPages(*owner, *claim.owner))) return false;
    return true;
  };
  for (const QLabel* label : window.findChildren<QLabel*>())
    if (label->buddy() && !letterOf(label->text()).isNull()) claims.push_back({nullptr, letterOf(label->text())});
  for (const QTabBar* tabs : window.findChildren<QTabBar*>())
    for (int tab = 0; tab < tabs->count(); ++tab)
      if (!letterOf(tabs->tabText(tab)).isNull()) claims.push_back({nullptr, letterOf(tabs->tabText(tab))});

  std::vector<QAbstractButton*> unmarked;
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (!showsCaption(*button)) continue;
    const QChar letter = letterOf(button->text());
    if (!letter.isNull() && free(button, letter))
      claims.push_back({button, letter});
    else
      unmarked.push_back(button);
  }
  for (QAbstractButton* button : unmarked) {
    QString plain = withoutMark(button->text());
    bool given = false;
    for (const qsizetype at : candidates(plain)) {
      const QChar letter = plain[at].toUpper();
      if (!free(button, letter)) continue;
      claims.push_back({button, letter});
      button->setText(QString(plain).insert(at, u'&'));
      given = true;
      break;
    }
    // Rather none than one another button answers to.
    if (!given && !letterOf(button->text()).isNull()) button->setText(plain);
  }
}
