#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A column or conversion type as SQL Server writes it: VARCHAR(40),
// DECIMAL(28,8), VARCHAR(MAX), INT.
struct SqlType {
  static constexpr int kMax = -1;

  QString name;                // upper case, without the parenthesis
  std::optional<int> length;   // first number (precision of DECIMAL), kMax for MAX
  std::optional<int> scale;    // second number
  bool identity = false;       // INT IDENTITY(seed, increment): the numbers are not a size

  static SqlType Parse(QStringView text);

  bool IsText() const;     // CHAR, VARCHAR, NCHAR, NVARCHAR, TEXT, NTEXT
  bool IsInteger() const;  // BIT, TINYINT, SMALLINT, INT, INTEGER, BIGINT
  bool IsDecimal() const;  // DECIMAL, NUMERIC, FLOAT, REAL, MONEY, SMALLMONEY
  bool IsDate() const;     // DATETIME, SMALLDATETIME, DATE
  bool IsKnown() const;
  // The type in SQL Server's words for its error texts: int, varchar, numeric.
  QString ErrorName() const;

  // What the server's catalogue says of a column of this type.
  int Xtype() const;                   // syscolumns.xtype; 0 for a type it does not know
  int StorageLength() const;           // syscolumns.length
  QString DataTypeName() const;        // information_schema DATA_TYPE
  std::optional<int> CharacterLength() const;  // CHARACTER_MAXIMUM_LENGTH
};

// A column of a table with its declared type.
struct SqlColumn {
  QString name;
  QString declared;  // as SQLite keeps it: VARCHAR(40), INTEGER IDENTITY(1,1)
  SqlType type;
};
