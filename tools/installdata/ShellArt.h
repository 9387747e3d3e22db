#pragma once
#include <QString>

// The pictures of the windows (main-window background, tool strip, small buttons, zoom images,
// tray icon, the exit window's picture), the empty design-slot cards and the help file, drawn
// from source below the program folder. Slot cards that already exist are kept: they hold the
// user's stored designs. Problems are printed as warnings; nothing here is required for the
// program to run, it falls back to plain colours.
void writeShellArt(const QString& programFolder);
