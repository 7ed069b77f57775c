// Table attributes: the row indicator colours (sicolarr, painted into four tables) and the row
// texts, set by hand or taken from the measured colour when a row is taught, saved to and loaded
// from table-attributes files, and read from the start-up file.
#pragma once

namespace tintra {

// True when the colour mode selector says "Automatically".
bool ColourModeAutomatic();

// Colour mode: automatically dims ROW, COLOR and SET ROW COLOR and shows the live colour patch;
// manually undims them and hides the patch.
void InitSrcPanel();

// SET ROW COLOR: paints the row of ROW with the colour of COLOR and keeps it in sicolarr.
void SetRowColor();

// SAVE / LOAD through the file dialog (default "TableAttributes.cfg"). A file that cannot be
// written or read is reported, and nothing changes.
void SaveTableSettings();
void GetTableSettings();

// SET AS STARTUP: saves to the start-up file in the settings directory.
void SetStartupArray();

// Start-up: colours and texts from the start-up file when it exists (a damaged one is reported
// and ignored), then rows 0 ... 30 painted from sicolarr.
void ReadStartupColours();

// Row texts and colours changed since the last SAVE, LOAD, SET AS STARTUP or start-up read are
// marked and count as unsent values. Call once after the panels exist.
void WatchTableAttributeChanges();

} // namespace tintra
