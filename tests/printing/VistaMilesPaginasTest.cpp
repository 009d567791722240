#include "tests/printing/GenelimpFixture.h"

#include "tests/fixtures/LiveHeap.h"

#include <QTimer>

// Thousands of pages open in the preview with the heap they held at the
// two-hundredth: pages are kept on disk, not in memory.
TEST_F(Genelimp, ThousandsOfPreviewPagesKeepMemoryFlat) {
  constexpr int paginas = 2000;
  Impreso(u"FAC"_qs, u"[CABECERA]\r\nText=10;10;0;Hoja\r\nRect=20;20;190;280;3"_qs);
  Documentos(paginas);
  VisualizarEnPantalla = true;
  mensajes.Expect(u"C"_qs, u"SI"_qs);
  auto formulario = Formulario();
  qint64 heapEn200 = 0;
  qint64 heapMayor = 0;
  // The run handles events once a document: the heap is read as it goes.
  QTimer lector;
  QObject::connect(&lector, &QTimer::timeout, [&] {
    const int hechas = formulario->PaginasImpreso().PageCount();
    if (hechas >= 200 && heapEn200 == 0) heapEn200 = LiveHeapBytes();
    if (heapEn200 > 0) heapMayor = std::max(heapMayor, LiveHeapBytes());
  });
  lector.start(0);
  int abiertas = 0;
  AlMostrarse(*formulario, [&] { abiertas = formulario->PaginasImpreso().PageCount(); });
  formulario->ImprimirImpreso();
  EXPECT_EQ(abiertas, paginas);
  ASSERT_GT(heapEn200, 0);
  // A page held in memory is 3.5 MB: five of them would show.
  EXPECT_LT(heapMayor - heapEn200, 16 << 20) << heapEn200 << " " << heapMayor;
}
