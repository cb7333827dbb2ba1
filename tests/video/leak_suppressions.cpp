// GLib keeps a block allocated once per process until it ends; LeakSanitizer would report it
// after every test. Only the library is named, never our code.
extern "C" const char* __lsan_default_suppressions() { return "leak:libglib-2.0.so\n"; }
