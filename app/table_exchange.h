// Export For and Import Wavetable: the table in the layouts other synths
// read, and those layouts read back into the table. The menu commands and the
// `export` command line share what is here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "io/export_targets.h"
#include "io/file_access.h"
#include "io/sysex_file.h"
#include "io/table_files.h"
#include "platform/platform.h"
#include "synth/frames_between.h"

struct ExportChoices {
    ExportLayout layout;
    FramesBetween between = FramesBetween::Crossfade;
    bool loudest = true; // the loudest sample at -0.1 dBFS, else the values as they are
    std::string name;    // the Blofeld's; empty: the file's name
    int32_t slot = BlofeldFirstSlot;
};

// The file for `path` of the table's 100 frames of 1024 samples at `table`.
std::vector<uint8_t> BuildExportFile(const float* table, const ExportChoices& choices,
                                     const std::string& path);

// Reads the file at `path` as Import Wavetable does; false with what failed.
bool LoadForeignTable(const std::string& path, ForeignTable& table, FileError& error);

// The table's 100 frames from a table read, its frames `frameSize` long.
void TableFromForeign(const ForeignTable& foreign, int32_t frameSize, bool fit, FramesBetween how,
                      float* table);

void ExportForCommand(WindowHandle window, CommandId id);
void ImportWavetableCommand(WindowHandle window, CommandId id);
