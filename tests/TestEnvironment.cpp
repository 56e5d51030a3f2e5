// Linked into every test executable: the environment each test needs,
// set by the target itself rather than by whoever runs it.
#include <cstdlib>

namespace {

// Widget tests never need a display.
const int gOffscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0);

} // namespace

extern "C" {

// The distribution's GLib is not built for the thread sanitizer; its
// internal hand-offs are the one known false report.
const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1:halt_on_error=1:second_deadlock_stack=1:"
           "suppressions=" SKERRIN_SOURCE_DIR
           "/tests/tsan.supp";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

} // extern "C"
