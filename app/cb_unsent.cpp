// Unsent values: the marks follow every edit (parameters, table attributes, colour factors), and
// closing the main window while any stands asks once whether to quit.
#include "app/callbacks.h"
#include "core/calib/calib.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/params/unsent.h"
#include "core/teach/tableattr.h"
#include "link/platform.h"

namespace tintra {

namespace {

bool CBF_MainCloseAllowed()
{
    static bool asking = false;
    if (asking)
        return false; // a second close while the question is open: the answer decides
    if (!HasUnsentChanges())
        return true;
    asking = true;
    const bool quit = ConfirmPopup(QStringLiteral("ATTENTION!"),
                                   QString::fromUtf8(InfoText("QuitWithUnsent"))) == 1;
    asking = false;
    return quit;
}

} // namespace

void ConnectUnsentCallbacks()
{
    mainpanel->closeAllowed = [] { return CBF_MainCloseAllowed(); };
    WatchUnsentChanges();
    WatchTableAttributeChanges();
    WatchFactorChanges();
}

} // namespace tintra
