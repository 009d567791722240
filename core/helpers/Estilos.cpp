#include "core/helpers/Estilos.h"

#include "platform/format/Format.h"

namespace {

struct Named {
  const char16_t* name;
  int value;
};

constexpr Named FontStyles[] = {
    {u"fsBold", 0},      {u"Negrita", 0},   {u"fsItalic", 1},    {u"Italica", 1},
    {u"fsUnderline", 2}, {u"Subrayado", 2}, {u"fsStrikeout", 3}, {u"Tachado", 3},
};

constexpr Named Colours[] = {
    {u"Aguamarina", 0xFFFF00},   {u"Negro", 0x000000},        {u"Azul", 0xFF0000},        {u"Gris Oscuro", 0x808080},
    {u"Fucsia", 0xFF00FF},       {u"Gris", 0x808080},         {u"Verde", 0x008000},       {u"Verde Claro", 0x00FF00},
    {u"Gris Claro", 0xC0C0C0},   {u"Azul Celeste", 0xF0CAA6}, {u"Crema", 0xF0FBFF},       {u"Rojo Oscuro", 0x000080},
    {u"Azul Marino", 0x800000},  {u"Oliva", 0x008080},        {u"Purpura", 0x800080},     {u"Rojo", 0x0000FF},
    {u"Plateado", 0xC0C0C0},     {u"Esmeralda", 0x808000},    {u"Blanco", 0xFFFFFF},      {u"Amarillo", 0x00FFFF},
    {u"Verde Claro 2", 0xC0DCC0}, {u"Gris Medio", 0xA4A0A0},
};

template <std::size_t N>
int Lookup(const Named (&table)[N], const QString& name, int otherwise) {
  for (const Named& entry : table)
    if (name == QStringView(entry.name)) return entry.value;
  return otherwise;
}

}  // namespace

int EstiloFuente(const QString& estilo) { return Lookup(FontStyles, estilo, 255); }

int ColorPorNombre(const QString& nombre) { return Lookup(Colours, nombre, 0); }

int ColorDeTexto(const QString& texto) {
  const int colour = ColorPorNombre(texto);
  return colour != 0 ? colour : StrToIntDef(texto, 0);
}
