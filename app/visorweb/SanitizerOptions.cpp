// Defaults of the sanitizer runtimes for the program built with them. The
// browser engine frees some of its own objects through a base of another
// size, and leaves its own objects behind at exit: the program would end on
// the first and report the second. Leaks are looked for by the tests, which
// never load the engine.
extern "C" {

const char* __asan_default_options() { return "new_delete_type_mismatch=0:detect_leaks=0"; }
}
