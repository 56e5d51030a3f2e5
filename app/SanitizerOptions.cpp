// Options of the thread sanitizer build of the utility itself. The
// distribution's Qt and GLib are not instrumented: races are looked for
// only in the code this project builds, and GLib's internal hand-offs are
// the one known false report.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1:halt_on_error=1:suppressions=" SKERRIN_SOURCE_DIR
           "/tests/tsan.supp";
}
#endif

#if defined(__SANITIZE_ADDRESS__)
// QtDBus keeps its connection manager's memory until the process ends, and
// QtCore may leave the bookkeeping of one of its own threads (a 152-byte
// block made in its thread constructor) when the process ends while that
// thread winds down. Both libraries are uninstrumented, so their stacks end
// at their first frame; the valgrind scenario checks the whole process for
// definite leaks with full stacks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6DBus.so.6\nleak:libQt6Core.so.6\n";
}
#endif
