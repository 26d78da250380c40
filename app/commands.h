// The editor's menu commands: one row each in the command table.
#pragma once

// Installs the editor's command table for the menus and the dispatcher; run
// once before the first window is made.
void InstallCommands();
