// Save Project and Open Project: the whole document in one project file
// (io/project_format.h) and back, exactly as it was.
#pragma once

#include "platform/platform.h"

// Asks for a file name and writes the document there.
void ProjectWriter(WindowHandle owner);

// Asks for a project file, reads and checks all of it, and only then takes the
// undo snapshot and replaces the table, the pad, the additive frame and every
// choice with the file's. A file that cannot be read, is no project file or is
// damaged is reported and changes nothing. The caller rebuilds the menus and
// repaints.
void ProjectReader(WindowHandle owner);
