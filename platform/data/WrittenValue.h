#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// What SQLite keeps of a value written to a column: the column's declared
// type gives it an affinity, which converts some values as they are stored.
// Where the conversion is certain, the row just written is known without
// reading it back.
namespace WrittenValue {

enum class Affinity { Text, Numeric, Integer, Real, Blob, Unknown };

// SQLite's rules on the declared type; Unknown where a table may keep the
// value otherwise (a STRICT table's ANY).
Affinity AffinityOf(const QString& declaredType);

// The value bound to the column as reading the column gives it back (NULL an
// invalid QVariant, whole numbers qint64, floating-point double, text
// QString, bytes QByteArray); nullopt where only reading it tells.
std::optional<QVariant> AsRead(const QVariant& bound, Affinity affinity, bool required);

}  // namespace WrittenValue
