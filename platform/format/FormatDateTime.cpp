#include "platform/format/Format.h"

namespace {

const char16_t* const ShortMonthNames[12] = {u"ene", u"feb", u"mar", u"abr", u"may", u"jun",
                                             u"jul", u"ago", u"sep", u"oct", u"nov", u"dic"};
const char16_t* const LongMonthNames[12] = {u"enero", u"febrero", u"marzo",     u"abril",   u"mayo",      u"junio",
                                            u"julio", u"agosto",  u"septiembre", u"octubre", u"noviembre", u"diciembre"};
const char16_t* const ShortDayNames[7] = {u"dom", u"lun", u"mar", u"mié", u"jue", u"vie", u"sáb"};
const char16_t* const LongDayNames[7] = {u"domingo", u"lunes", u"martes", u"miércoles", u"jueves", u"viernes", u"sábado"};
constexpr auto ShortTimeFormat = u"hh:nn";
constexpr auto LongDateFormat = u"dddd, d' de 'mmmm' de 'yyyy";
constexpr auto TimeAMString = u"a.m.";
constexpr auto TimePMString = u"p.m.";

QString Number(int value, int minimumDigits) { return QString::number(value).rightJustified(minimumDigits, u'0'); }

bool StartsWithNoCase(const QString& text, qsizetype at, QStringView word) {
  return QStringView(text).mid(at).startsWith(word, Qt::CaseInsensitive);
}

class DateTimeWriter {
 public:
  explicit DateTimeWriter(TDateTime value) : value_(value) {
    DecodeDate(value, year_, month_, day_);
    DecodeTime(value, hour_, minute_, second_, msec_);
  }

  // A pattern inside a pattern ("c", "ddddd") is expanded one level deep.
  void Append(const QString& format, int level = 0) {
    if (level >= 2) return;
    QChar lastLetter = u' ';
    bool twelveHour = false;
    qsizetype at = 0;
    while (at < format.size()) {
      const QChar starter = format[at++];
      QChar token = starter.toUpper();
      if (token >= u'A' && token <= u'Z') {
        if (token == u'M' && lastLetter == u'H') token = u'N';  // "hh:mm" means minutes
        lastLetter = token;
      }
      auto count = [&] {
        int n = 1;
        while (at < format.size() && format[at] == starter) {
          ++n;
          ++at;
        }
        return n;
      };
      switch (token.unicode()) {
        case u'Y':
          count() <= 2 ? Put(Number(year_ % 100, 2)) : Put(Number(year_, 4));
          break;
        case u'M': {
          const int n = count();
          if (n <= 2)
            Put(Number(month_, n));
          else if (month_ >= 1)
            Put(QString::fromUtf16(n == 3 ? ShortMonthNames[month_ - 1] : LongMonthNames[month_ - 1]));
          break;
        }
        case u'D': {
          const int n = count();
          if (n <= 2)
            Put(Number(day_, n));
          else if (n == 3)
            Put(QString::fromUtf16(ShortDayNames[DayOfWeek(value_) - 1]));
          else if (n == 4)
            Put(QString::fromUtf16(LongDayNames[DayOfWeek(value_) - 1]));
          else
            Append(n == 5 ? QString::fromLatin1(FormatSettings::ShortDateFormat) : QString::fromUtf16(LongDateFormat),
                   level + 1);
          break;
        }
        case u'H': {
          const int n = count();
          twelveHour = twelveHour || HasHalfDayMarkAhead(format, at);
          int hour = hour_;
          if (twelveHour) hour = hour == 0 ? 12 : hour > 12 ? hour - 12 : hour;
          Put(Number(hour, std::min(n, 2)));
          break;
        }
        case u'N':
          Put(Number(minute_, std::min(count(), 2)));
          break;
        case u'S':
          Put(Number(second_, std::min(count(), 2)));
          break;
        case u'Z':
          Put(Number(msec_, std::min(count(), 3)));
          break;
        case u'T':
          Append(count() == 1 ? QString::fromUtf16(ShortTimeFormat) : QString::fromLatin1(FormatSettings::LongTimeFormat),
                 level + 1);
          break;
        case u'A':
          at = HalfDay(format, at - 1, starter, twelveHour);
          break;
        case u'C':
          count();
          Append(QString::fromLatin1(FormatSettings::ShortDateFormat), level + 1);
          if (hour_ != 0 || minute_ != 0 || second_ != 0) {
            Put(QStringLiteral(" "));
            Append(QString::fromLatin1(FormatSettings::LongTimeFormat), level + 1);
          }
          break;
        case u'/':
          Put(FormatSettings::DateSeparator);
          break;
        case u':':
          Put(FormatSettings::TimeSeparator);
          break;
        case u'\'':
        case u'"': {
          const qsizetype close = format.indexOf(starter, at);
          const qsizetype end = close < 0 ? format.size() : close;
          Put(format.mid(at, end - at));
          at = close < 0 ? end : end + 1;
          break;
        }
        default:
          Put(starter);
      }
    }
  }

  const QString& Text() const { return text_; }

 private:
  void Put(const QString& text) { text_ += text; }
  void Put(QChar c) { text_ += c; }

  // An hour is on the 12-hour clock when an "am/pm", "a/p" or "ampm" follows
  // it before the next hour, outside quotes.
  static bool HasHalfDayMarkAhead(const QString& format, qsizetype at) {
    bool quoted = false;
    for (; at < format.size(); ++at) {
      const QChar c = format[at];
      if (c == u'\'' || c == u'"') {
        quoted = !quoted;
      } else if (!quoted && (c == u'h' || c == u'H')) {
        return false;
      } else if (!quoted && (c == u'a' || c == u'A')) {
        return StartsWithNoCase(format, at, u"am/pm") || StartsWithNoCase(format, at, u"a/p") ||
               StartsWithNoCase(format, at, u"ampm");
      }
    }
    return false;
  }

  // "am/pm" and "a/p" show the pattern's own letters; "ampm" the settings'
  // texts; "aaa" and "aaaa" day names. Returns where the pattern goes on.
  qsizetype HalfDay(const QString& format, qsizetype at, QChar starter, bool& twelveHour) {
    const bool afternoon = hour_ >= 12;
    if (StartsWithNoCase(format, at, u"am/pm")) {
      Put(format.mid(afternoon ? at + 3 : at, 2));
      twelveHour = true;
      return at + 5;
    }
    if (StartsWithNoCase(format, at, u"a/p")) {
      Put(format.mid(afternoon ? at + 2 : at, 1));
      twelveHour = true;
      return at + 3;
    }
    if (StartsWithNoCase(format, at, u"ampm")) {
      Put(QString::fromUtf16(afternoon ? TimePMString : TimeAMString));
      twelveHour = true;
      return at + 4;
    }
    if (StartsWithNoCase(format, at, u"aaaa")) {
      Put(QString::fromUtf16(LongDayNames[DayOfWeek(value_) - 1]));
      return at + 4;
    }
    if (StartsWithNoCase(format, at, u"aaa")) {
      Put(QString::fromUtf16(ShortDayNames[DayOfWeek(value_) - 1]));
      return at + 3;
    }
    Put(starter);
    return at + 1;
  }

  TDateTime value_;
  int year_ = 0, month_ = 0, day_ = 0;
  int hour_ = 0, minute_ = 0, second_ = 0, msec_ = 0;
  QString text_;
};

}  // namespace

QString FormatDateTime(const QString& format, TDateTime value) {
  DateTimeWriter writer(value);
  writer.Append(format.isEmpty() ? QStringLiteral("c") : format);
  return writer.Text();
}

QString DateToStr(TDateTime value) { return FormatDateTime(QString::fromLatin1(FormatSettings::ShortDateFormat), value); }

QString TimeToStr(TDateTime value) { return FormatDateTime(QString::fromLatin1(FormatSettings::LongTimeFormat), value); }

QString DateTimeToStr(TDateTime value) { return FormatDateTime(QStringLiteral("c"), value); }
