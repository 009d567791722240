#include "dialogs/PatronAproximado.h"

#include <array>
#include <utility>

QString PatronAproximado(QString valor) {
  for (QChar& letra : valor)
    if (letra >= u'A' && letra <= u'Z') letra = QChar(letra.unicode() + (u'a' - u'A'));
  // "[**]" keeps the "[ct]" made for "ch" from being widened by the "c" step.
  static const std::array<std::pair<const char16_t*, const char16_t*>, 20> kReemplazos = {{
      {u"á", u"a"},      {u"é", u"e"},     {u"í", u"i"},       {u"ó", u"o"},      {u"ú", u"u"},
      {u"v", u"b"},      {u"k", u"c"},     {u"y", u"i"},       {u"tx", u"ch"},    {u"tz", u"ch"},
      {u"a", u"[aá]"},   {u"e", u"[eé]"},  {u"i", u"[iíy]"},   {u"o", u"[oó]"},   {u"u", u"[uú]"},
      {u"b", u"[bv]"},   {u"ch", u"[ct][hxz]"}, {u"[ct]", u"[**]"}, {u"c", u"[ck]"}, {u"[**]", u"[ct]"},
  }};
  for (const auto& [de, a] : kReemplazos) valor.replace(QString::fromUtf16(de), QString::fromUtf16(a));
  return valor;
}
