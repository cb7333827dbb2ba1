// GLib keeps a block allocated once per process until it ends; LeakSanitizer would report it
// after every test. Only the library is named, never our code.
extern "C" const char* __lsan_default_suppressions() { return "leak:libglib-2.0.so\n"; }

// This compiler's sanitizer runtime misreads the thread-local blocks of libraries loaded at
// run time (Qt's platform plugin, GStreamer's elements) when the leak check stops the world
// at exit, and the check itself crashes. Without following __tls_get_addr it scans what it
// can and still reports every leak of the heap.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
