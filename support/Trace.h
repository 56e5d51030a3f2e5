// The debug trace channel: short lines for developers, never seen by users.
//
// TraceOut hands a line to the system log at debug priority (ident
// "skerrin"). With SKERRIN_TRACE_STDERR=1 in the environment every line is
// written to standard error as well. TraceToViewer delivers a line to the
// debug viewer "Tolvena Debug View" when one is listening, and waits for
// its one-byte answer (bounded), so lines arrive in order.
#pragma once

#include <cstddef>
#include <string>

// At most this many characters of a formatted line are kept.
inline constexpr std::size_t kTraceOutMax = 511;
inline constexpr std::size_t kTraceViewerMax = 1023;

// Title of the debug viewer; its socket is named after it.
inline constexpr const char* kDebugViewerTitle = "Tolvena Debug View";

void TraceOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
void TraceToViewer(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace trace {

// Path of the viewer's socket in the user's runtime folder.
std::string ViewerSocketPath();

// How long TraceToViewer waits for the viewer to take a line and answer.
inline constexpr int kViewerTimeoutMs = 1000;

// Test seam: receives every TraceOut line (after truncation) in place of
// the system log. Pass nullptr to restore the system log.
using Sink = void (*)(const char* line);
void SetOutSink(Sink sink);

} // namespace trace
