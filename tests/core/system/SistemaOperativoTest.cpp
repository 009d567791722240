#include "core/system/SistemaOperativo.h"

#include <gtest/gtest.h>

TEST(InformacionSistemaOperativo, GivesTheUnknownPlatformWithTheKernelVersion) {
  const std::pair<const char*, const char*> casos[] = {
      {"6.1.0-18-amd64", "6.1.0"}, {"5.15.153.1-microsoft-standard-WSL2", "5.15.153"}, {"4.9", "4.9.0"},
      {"rara", "0.0.0"}, {"", "0.0.0"},
  };
  for (const auto& [nucleo, version] : casos)
    EXPECT_EQ(InformacionSistemaOperativo(QLatin1String(nucleo)),
              QStringLiteral("PlataformaBase=Desconocida\r\nPlataforma=Desconocida\r\nVersion=") +
                  QLatin1String(version) + QStringLiteral("\r\nNivel="))
        << nucleo;
}
