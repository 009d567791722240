#include "platform/controls/DBEdit.h"

#include "platform/data/Field.h"

#include <QScopedValueRollback>
#include <QTextDocument>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QLineEdit::textEdited, this, [this] { BeginChange([this] { display(); }); });
  connect(this, &QLineEdit::editingFinished, this, &DBEdit::UpdateRecord);
  display();
}

void DBEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  setReadOnly(readOnly_ || !link_.CanModify());
}

void DBEdit::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  changed_ = false;
  setReadOnly(readOnly_ || !link_.CanModify());
  if (!field) {
    setText(QString());
    return;
  }
  if (field->Size() > 0 && inputMask().isEmpty()) setMaxLength(field->Size());
  setText(hasFocus() ? field->Text() : field->DisplayText());
}

namespace {

// The engine's mask characters by Qt's: 0 digit, 9 optional digit, L letter,
// l optional letter, A letter or digit, a optional one, C any character, c
// optional one; "<>" ends a case change; "!" (leading blanks) has no Qt
// counterpart. The mask's second piece (whether literals are stored) is not
// followed; its third is the blank character.
QString mascaraQt(const QString& mask) {
  const QStringList pieces = mask.split(u';');
  const QString& body = pieces.first();
  QString qt;
  for (qsizetype i = 0; i < body.size(); ++i) {
    const QChar c = body[i];
    if (c == u'\\' && i + 1 < body.size()) {
      qt += c;
      qt += body[++i];
      continue;
    }
    if (c == u'<' && i + 1 < body.size() && body[i + 1] == u'>') {
      qt += u'!';
      ++i;
      continue;
    }
    static const QString kEngine = QStringLiteral("09LlAaCc!");
    static const QString kQt = QStringLiteral("90AaNnXx");
    const qsizetype at = kEngine.indexOf(c);
    if (at == kEngine.size() - 1) continue;
    if (at >= 0) {
      qt += kQt[at];
    } else if (QStringLiteral("NnXxHhBbDd").contains(c)) {
      qt += u'\\';
      qt += c;
    } else {
      qt += c;
    }
  }
  if (qt.isEmpty()) return {};
  if (pieces.size() > 2 && !pieces[2].isEmpty()) qt += u';' + pieces[2].left(1);
  return qt;
}

}  // namespace

void DBEdit::SetEditMask(const QString& mask) {
  editMask_ = mask;
  setInputMask(mascaraQt(mask));
}

void DBEdit::UpdateRecord() {
  StoreChange([this](Field& field) { field.SetText(text()); });
}

void DBEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!changed_) display();
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
  UpdateRecord();
  QLineEdit::focusOutEvent(event);
  display();
}

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), DataAwareControl(this) {
  link_.OnRefresh = [this] { display(); };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!showing_) BeginChange([this] { display(); });
  });
  display();
}

void DBMemo::display() {
  if (showing_) return;
  const QScopedValueRollback guard(showing_, true);
  Field* field = BoundField();
  changed_ = false;
  setReadOnly(!link_.CanModify());
  setPlainText(field ? field->AsString() : QString());
}

void DBMemo::UpdateRecord() {
  StoreChange([this](Field& field) { field.SetAsString(MemoText(*this)); });
}

QString MemoText(const QPlainTextEdit& memo) {
  QString text = memo.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

void DBMemo::focusOutEvent(QFocusEvent* event) {
  UpdateRecord();
  QPlainTextEdit::focusOutEvent(event);
}
