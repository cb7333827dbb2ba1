// Allocations that Qt, fontconfig, GLib and GStreamer make once per process and keep until
// it ends (plugin and type registries, font caches). Only library frames are named.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libgstreamer-1.0.so\n";
}
