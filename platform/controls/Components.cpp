#include "platform/controls/Components.h"

#include "platform/controls/DBChoiceControls.h"
#include "platform/controls/DBDisplayControls.h"
#include "platform/controls/DBEdit.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/Image.h"
#include "platform/controls/DBLookupComboBox.h"
#include "platform/controls/DBNavigator.h"
#include "platform/Form.h"
#include "platform/data/ClientDataset.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <utility>

namespace {

// Qt's inner parts of a widget; our own non-visual components count even
// when made at run time without a name.
bool isOwnPart(const QObject* object) {
  if (qobject_cast<const Dataset*>(object) || qobject_cast<const DataSource*>(object)) return false;
  const QString name = object->objectName();
  return name.isEmpty() || name.startsWith(QLatin1String("qt_"));
}

void collect(const QObject* parent, QList<QObject*>& found) {
  for (QObject* child : parent->children()) {
    if (qobject_cast<Field*>(child)) ComponentName(child);
    if (!isOwnPart(child)) found.append(child);
    // Forms own their own components; controls with parts of their own
    // (navigator buttons, radio items) have no components inside.
    if (qobject_cast<Form*>(child) || qobject_cast<DBNavigator*>(child) || qobject_cast<DBRadioGroup*>(child))
      continue;
    collect(child, found);
  }
}

template <typename T>
bool is(const QObject* object) {
  return qobject_cast<const T*>(object) != nullptr;
}

}  // namespace

QList<QObject*> Components(const QObject* owner) {
  QList<QObject*> found;
  if (owner) collect(owner, found);
  return found;
}

QString ComponentName(QObject* component) {
  if (!component) return {};
  if (auto* field = qobject_cast<Field*>(component); field && field->objectName().isEmpty() && field->DataSet())
    field->setObjectName(field->DataSet()->objectName() + field->FieldName());
  return component->objectName();
}

QString ComponentKind(const QObject* c) {
  // Most derived first: a DBEdit is also a line edit.
  static const std::pair<bool (*)(const QObject*), const char*> kKinds[] = {
      {is<Table>, "TTable"},
      {is<Query>, "TQuery"},
      {is<ClientDataset>, "TClientDataSet"},
      {is<Dataset>, "TDataSet"},
      {is<Field>, "TField"},
      {is<DataSource>, "TDataSource"},
      {is<Database>, "TDatabase"},
      {is<DBEdit>, "TDBEdit"},
      {is<DBMemo>, "TDBMemo"},
      {is<DBCheckBox>, "TDBCheckBox"},
      {is<DBLookupComboBox>, "TDBLookupComboBox"},
      {is<DBComboBox>, "TDBComboBox"},
      {is<DBRadioGroup>, "TDBRadioGroup"},
      {is<DBImage>, "TDBImage"},
      {is<DBText>, "TDBText"},
      {is<DBNavigator>, "TDBNavigator"},
      {is<DBGrid>, "TDBGrid"},
      {is<QTableWidget>, "TStringGrid"},
      {is<Form>, "TForm"},
      {is<QLineEdit>, "TEdit"},
      {is<QPlainTextEdit>, "TMemo"},
      {is<QCheckBox>, "TCheckBox"},
      {is<QRadioButton>, "TRadioButton"},
      {is<QPushButton>, "TButton"},
      {is<QComboBox>, "TComboBox"},
      {is<QListWidget>, "TListBox"},
      {is<Image>, "TImage"},
      {is<QLabel>, "TLabel"},
      {is<QGroupBox>, "TGroupBox"},
      {is<QTabWidget>, "TPageControl"},
      {is<QStatusBar>, "TStatusBar"},
      {is<QMenuBar>, "TMainMenu"},
      {is<QMenu>, "TMenuItem"},
      {is<QAction>, "TMenuItem"},
      {is<QTimer>, "TTimer"},
  };
  if (!c) return {};
  // A page of a page control is a tab sheet.
  if (c->parent() && c->parent()->parent() && is<QTabWidget>(c->parent()->parent()) && c->isWidgetType())
    return QStringLiteral("TTabSheet");
  for (const auto& [test, kind] : kKinds)
    if (test(c)) return QString::fromLatin1(kind);
  return c->isWidgetType() ? QStringLiteral("TPanel") : QStringLiteral("TComponent");
}

bool IsControl(const QObject* component) { return component && component->isWidgetType(); }
