// The program's directory and the settings files beside it.
#pragma once

#include <QString>

namespace tintra {

extern QString proj_dir;   // the program's directory: start of every file dialog
extern QString file_name;  // path chosen in the last file dialog

// Where the settings files are read and written: the program's directory, or the user's
// application-data directory when the program's directory is not writable.
extern QString settings_dir;
extern QString ipComboBoxFileName;        // "IPComboBox.cfg"
extern QString conSettingsFileName;       // "ComSettings.cfg"
extern QString colorArrayStartupFileName; // "StartupFile.cfg"

// Sets proj_dir to `programDir` and builds the settings paths. When the program's directory is
// not writable the files live in `fallbackDir` instead; a file that exists only beside the program
// is copied there first, so the settings shipped with the program still count (only a regular file
// of settings size: a pipe or a huge file in its place is skipped).
void BuildSettingsPaths(const QString &programDir, const QString &fallbackDir);

} // namespace tintra
