#pragma once

#include <QList>
#include <QString>

class QObject;

// The components a form owns, as the system walks them: every named object
// below the form (controls inside their containers, datasets and their
// fields, data sources, menu items, timers) in creation order, parents
// before their children. Qt's own inner parts (unnamed, or named "qt_...")
// are not components. A field without a name of its own is named after its
// dataset and its field name ("Table1Codigo").
QList<QObject*> Components(const QObject* owner);

// The component's name; a field is given its default name first.
QString ComponentName(QObject* component);

// The class name the system knows the component by ("TTable", "TDBGrid",
// "TEdit", "TMenuItem" ...); "TComponent" for any other object.
QString ComponentKind(const QObject* component);
bool IsControl(const QObject* component);  // a visual control (a widget)
