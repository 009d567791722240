#pragma once

#include <QString>
#include <QVariant>

class QObject;

// Published properties by their original names ("Font", "Hint", "Visible",
// "Color", "Caption", "DisplayFormat", "DataField" ...), mapped onto Qt's
// properties and the stand-ins' own. Names are compared exactly: "font" is
// not "Font". A name the mapping does not know is a property of the object's
// own class (or a dynamic one) of exactly that name, when it begins with a
// capital letter.
bool HasProperty(const QObject* object, const QString& name);
// An invalid value when there is no such property.
QVariant ReadProperty(const QObject* object, const QString& name);
// False, and nothing written, when there is no such property or the value
// does not fit it.
bool WriteProperty(QObject* object, const QString& name, const QVariant& value);
