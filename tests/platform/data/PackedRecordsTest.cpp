#include "platform/data/PackedRecords.h"
#include "tests/platform/data/IdenticalValues.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QRandomGenerator>

#include <cmath>
#include <limits>

// Records of random hostile values packed and read back: each value
// identical to the one appended, in type, nullness and bits.

namespace {

QString randomText(QRandomGenerator& random, qsizetype size) {
  static const char16_t kAlphabet[] = u"aZ 0ñÑáÉüÿ€\u00A0\u0000\t\n'\"%_\U0001F600";
  const qsizetype letters = std::size(kAlphabet) - 1;
  QString text;
  for (qsizetype i = 0; i < size; ++i) text.append(QChar(kAlphabet[random.bounded(letters)]));
  return text;
}

QByteArray randomBytes(QRandomGenerator& random, qsizetype size) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
  return bytes;
}

QVariant randomValue(QRandomGenerator& random) {
  switch (random.bounded(20)) {
    case 0: return QVariant();
    case 1: return QVariant(std::numeric_limits<qint64>::min() + random.bounded(3));
    case 2: return QVariant(std::numeric_limits<qint64>::max() - random.bounded(3));
    case 3: return QVariant(qint64{INT32_MAX} + random.bounded(3) - 1);
    case 4: return QVariant(qint64{INT32_MIN} + random.bounded(3) - 1);
    case 5: return QVariant(static_cast<qint64>(random.generate64()));
    case 6: return QVariant(-0.0);
    case 7: return QVariant(std::nan(""));
    case 8: return QVariant(random.bounded(2) ? std::numeric_limits<double>::infinity() : 4.9e-324);
    case 9: return QVariant(random.generateDouble() * 1e300);
    case 10: return QVariant(QString());
    case 11: return QVariant(QString(u""_qs));
    case 12: return QVariant(randomText(random, random.bounded(20)));
    case 13: return QVariant(randomText(random, 250 + random.bounded(20)));  // around the long size
    case 14: return QVariant(QString(random.bounded(300), QChar(u'ÿ')));
    case 15: return QVariant(QByteArray());
    case 16: return QVariant(QByteArray(""));
    case 17: return QVariant(randomBytes(random, random.bounded(600)));
    case 18: return QVariant(QDateTime(QDate(1899, 12, 30), QTime(23, 59, 59, 999)));
    default: return random.bounded(2) ? QVariant(true) : QVariant(static_cast<int>(random.generate()));
  }
}

}  // namespace

TEST(PackedRecords, EveryValueReadsBackIdentical) {
  QRandomGenerator random(2026);
  PackedRecords packed;
  std::vector<QList<QVariant>> appended;
  for (int record = 0; record < 20000; ++record) {
    QList<QVariant> values;
    const int count = record % 97 == 0 ? 0 : 1 + static_cast<int>(random.bounded(12));
    for (int i = 0; i < count; ++i) values.append(randomValue(random));
    // Now and then a record larger than a block, and one that fills what is left of it.
    if (record % 5000 == 17) values.append(QVariant(randomBytes(random, 3 << 20)));
    if (record % 3000 == 29) values.append(QVariant(randomText(random, 300000)));
    packed.Append(values);
    appended.push_back(std::move(values));
  }
  ASSERT_EQ(packed.Size(), appended.size());
  for (std::size_t record = 0; record < appended.size(); ++record) {
    const QList<QVariant> read = packed.Values(record);
    ASSERT_EQ(read.size(), appended[record].size()) << record;
    for (qsizetype i = 0; i < read.size(); ++i)
      ASSERT_TRUE(IdenticalValues(read[i], appended[record][i]))
          << "record " << record << " value " << i << " " << appended[record][i].typeName();
  }
}
