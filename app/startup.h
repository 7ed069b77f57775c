// Start-up and shutdown: creating and placing the fifteen panels, InitAll, the event loop and the
// way out.
#pragma once

#include "link/platform.h"

#include <QFileDialog>
#include <QString>

namespace tintra {

// Loads the fifteen panels in their order and places them: the seven child pages share the main
// window's page area, the data panel and the signal graph panel share its data area, and the
// teach panel, the two big number windows and the three-sides view are hidden top-level windows.
// Returns 0, or -1 when a panel could not be created.
int BuildAllPanels();

// Deletes all panels (the main window with its children and the four top-level windows).
void DiscardAllPanels();

// The directory InitAll takes as the program's directory; empty (the default) means the directory
// that holds the executable. Tests point it at a temporary directory.
void SetProgramDir(const QString &dir);

// The folder for the settings files of a program in `programDir`: an installed program (beside
// share/applications/TintraV30.desktop, as cmake --install and the Debian package lay it out)
// keeps them in `userDataDir` (created when missing) even where it could write beside itself, as
// when run as root, so no settings file is left among the system's programs; otherwise
// `fallback` (the program's directory when writable, else the user's data directory).
QString SettingsDirFor(const QString &programDir, const QString &fallback,
                       const QString &userDataDir);

// Constants, paths, ramps, branding, panel values, the server list and the connection settings,
// then the first connection attempt.
void InitAll();

// Tells the link layer how to show its status and pages on our panels.
void InstallLinkUi();

// Runs the event loop until the main window is closed; returns at once when that already
// happened (e.g. during the first connection attempt). Returns the loop's exit code.
int RunUserInterface();

// Ends the event loop. When called inside a wait that runs nested in a callback, the loop ends as
// soon as that callback has returned.
void QuitUserInterface();
bool QuitRequested();
void ClearQuitRequest();

// WinMain up to InitAll: panels, link display, callbacks, page 2, data panel and main window
// shown. Returns 0, or -1 when a panel could not be created. Tests start the program with it.
int StartUserInterface();
// WinMain after the event loop: an open TCP connection is closed and the panels are discarded.
void EndUserInterface();

// Before the application object exists: the event loop runs on Qt's own dispatcher instead of
// GLib's (unless the environment decides, or a GTK platform theme may need GLib). The live
// display wakes the loop several times a frame; GLib's loop costs more system calls per wake-up.
void PreferLeanEventLoop();
// Before the application object exists: on X11 the windows' pixels go to the X server over the
// connection instead of through shared memory (unless the environment decides; QT_XCB_NO_MITSHM=0
// keeps shared memory). With shared memory, every repaint first waits for the server to have
// finished copying the one before (a round trip, and a hand-over between threads); a live display
// repaints small areas 50 to 60 times a second, for which the wait costs more than sending the
// pixels, and it grows with the load on the machine. A repaint of a whole window costs a fraction
// of a millisecond more.
void PreferRepaintsWithoutRoundTrip();
// True when the GLib loop runs: native (GTK) file and colour dialogs work only there.
bool NativeDialogsUsable();
// How the file dialog for `req` is opened: never the native one where it cannot work (`native`
// false), and the dialog never asks itself whether an existing file may be replaced unless the
// request says so; it reports the choice and the program asks its own question.
QFileDialog::Options FileDialogOptions(const FileSelectRequest &req, bool native);

// The whole program: panels, callbacks, first page, InitAll, event loop, shutdown. Returns 0 after
// a normal end, -1 if a panel could not be created.
int WinMain();

} // namespace tintra
