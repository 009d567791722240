#pragma once

#include <QList>
#include <QPair>
#include <QString>

// ADO connection strings, "Name=value;Name=value", with their quoting: a
// value holding ";", a quote or blanks at its ends goes between quotes, so
// it cannot end itself and start another key.
namespace ConnectionString {

// The value as written after "Name=": as it is, or in double quotes (single
// ones when it holds only double quotes), a quote like the enclosing ones
// doubled.
QString Quoted(const QString& value);

// The name=value pairs in order, names trimmed and quoted values unquoted.
QList<QPair<QString, QString>> Pairs(const QString& text);

}  // namespace ConnectionString
