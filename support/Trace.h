// The debug trace channel: short lines for developers, never seen by users.
//
// TraceOut lines cost next to nothing unless someone asked for them:
// SKERRIN_TRACE_STDERR=1 writes each line to standard error, and
// SKERRIN_TRACE_SYSLOG=1 sends a copy to the system log at debug priority
// (ident "skerrin", one connection kept for the whole run). TraceToViewer
// hands a line to the debug viewer "Tolvena Debug View" when one is
// listening, without waiting for it to answer.
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

// How long TraceToViewer keeps trying while the viewer's queue of waiting
// lines is full; a viewer that takes its lines is never waited for.
inline constexpr int kViewerQueueWaitMs = 5;

// Test seam: receives every TraceOut line (after truncation) in place of
// standard error and the system log. Pass nullptr to restore them.
using Sink = void (*)(const char* line);
void SetOutSink(Sink sink);

} // namespace trace
