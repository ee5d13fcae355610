#pragma once
// Sound from the monitor of the sound server's default output, through the
// PulseAudio client library (which PipeWire's PulseAudio service serves too).
#include <atomic>

#include "tools/lumora-spectrum/file_input.h"

// Captures until `stop` is set, delivering about every 10 ms.  Without a
// server, or when the server goes away, it waits and connects again, quietly
// (one line on standard error the first time); it follows a change of the
// default output.  Never waits longer than 50 ms without looking at `stop`.
void CaptureDefaultOutput(const std::atomic<bool>& stop, const FrameSink& sink);
