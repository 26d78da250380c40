// .wtscript files as Surge XT writes them: XML
//   <wtscript><script lua="BASE64" frames="N" samples="R"/></wtscript>
// the script's text in base64, its frame count (1 .. 512) and its sample
// count as R = 1 .. 8 for 32 x 2^(R-1) samples. Other elements (Surge XT's
// snapshots) are skipped on reading and never written. Pure functions of
// their arguments: any bytes are safe to hand the reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/script_dialog.h"

// R for a sample count, or 0 when the count is not 32 x 2^(R-1), R = 1 .. 8.
int32_t SampleCountCode(int32_t samples);

// The file of a script whose Frames are filled in and whose sample count has
// a code.
std::vector<uint8_t> BuildWtscriptImage(const WavetableScript& script);

// Fills `script` from a whole, right file; otherwise says what is wrong
// ("bad base64 in the script", ...) and leaves `script` as it was.
bool ParseWtscript(const uint8_t* data, size_t size, WavetableScript& script, std::string& wrong);
