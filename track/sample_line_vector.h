#pragma once

#include <string_view>

#include "track/trajectory_lines.h"

namespace ostrel {

// Whether this processor can run ReadSampleLineVector: x86-64 with AVX-512 (F, BW, VL, DQ, VBMI
// and VBMI2).
bool SampleLineVectorAvailable();

// Reads a sample line as trackers write it, with vector instructions: twelve tokens split by
// single blanks, each value after its prefix a plain number that fills the rest of its token
// (an optional sign, digits and at most one point; at most nine digits for the whole numbers,
// fifteen for the reals). The result is the one ReadSampleLine gives, bit for bit. Gives false
// and leaves `result` alone for any other line, which ReadSampleLine must then read, and for
// every line where the processor lacks the instructions. Never reads outside the line.
bool ReadSampleLineVector(std::string_view line, SampleLine& result);

}  // namespace ostrel
