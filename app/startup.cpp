// Start-up and shutdown.
#include "startup.h"

#include "app/callbacks.h"
#include "app/windowfit.h"
#include "core/graphs/dispnames.h"
#include "core/display/paintpace.h"
#include "core/display/ramps.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/calibpanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/panels/comparepanel.h"
#include "core/params/moderules.h"
#include "core/params/panelvalues.h"
#include "core/panels/rowcolours.h"
#include "core/settings/connection.h"
#include "core/settings/paths.h"
#include "core/shell.h"
#include "core/teach/tableattr.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "widgets/combobox.h"
#include "widgets/logo.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStyle>
#include <algorithm>

namespace tintra {

namespace {

QString programDirOverride;
bool quitRequested = false;

template <class Panel>
Panel *Load(Panel *&handle, QWidget *parent)
{
    handle = new Panel(parent);
    return handle;
}

void Place(QWidget *area, QWidget *panel)
{
    auto *grid = static_cast<QGridLayout *>(area->layout());
    grid->addWidget(panel, 0, 0);
    panel->hide();
}

} // namespace

int BuildAllPanels()
{
    if (!Load(mainpanel, nullptr))
        return -1;
    QWidget *pages = mainpanel->PageArea;
    QWidget *data = mainpanel->DataArea;
    Load(parapanel1, pages);
    Load(parapanel2, pages);
    Load(ttpanel, pages);
    Load(datapanel, data);
    Load(tapanel, pages);
    Load(interfacepanel, pages);
    Load(recpanel, pages);
    Load(calibpanel, pages);
    Load(graphpanel, data);
    Load(teachpanel, nullptr);
    Load(colbigpanel, nullptr);
    Load(grpbigpanel, nullptr);
    Load(p3sidesview, nullptr);
    comparepanel = new ComparePanel(mainpanel);

    for (QWidget *p : {static_cast<QWidget *>(parapanel1), static_cast<QWidget *>(ttpanel),
                       static_cast<QWidget *>(interfacepanel), static_cast<QWidget *>(tapanel),
                       static_cast<QWidget *>(parapanel2), static_cast<QWidget *>(recpanel),
                       static_cast<QWidget *>(calibpanel)})
        Place(pages, p);
    Place(data, datapanel);
    Place(data, graphpanel);
    // The data area keeps its panels' width; the page beside it scrolls when the window is narrow.
    const int dataWidth = std::max(datapanel->minimumSizeHint().width(),
                                   graphpanel->minimumSizeHint().width());
    mainpanel->DataScroll->setMinimumWidth(
        dataWidth + mainpanel->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    return 0;
}

void DiscardAllPanels()
{
    delete teachpanel;
    delete colbigpanel;
    delete grpbigpanel;
    delete p3sidesview;
    delete mainpanel; // with the pages, the data panel and the graph panel
    mainpanel = nullptr;
    parapanel1 = nullptr;
    parapanel2 = nullptr;
    ttpanel = nullptr;
    datapanel = nullptr;
    tapanel = nullptr;
    interfacepanel = nullptr;
    recpanel = nullptr;
    calibpanel = nullptr;
    graphpanel = nullptr;
    teachpanel = nullptr;
    colbigpanel = nullptr;
    grpbigpanel = nullptr;
    p3sidesview = nullptr;
    comparepanel = nullptr;
}

void SetProgramDir(const QString &dir) { programDirOverride = dir; }

QString SettingsDirFor(const QString &programDir, const QString &fallback,
                       const QString &userDataDir)
{
    const QString entry = QStringLiteral("../share/applications/TintraV30.desktop");
    if (userDataDir.isEmpty() || !QFileInfo::exists(QDir(programDir).filePath(entry)))
        return fallback;
    QDir().mkpath(userDataDir);
    return userDataDir;
}

void InstallLinkUi()
{
    LinkUi ui = CurrentLinkUi(); // keeps the parameter read that the parameter transfer installs
    ui.showStatus = [](const QString &text) { SetStatusText(text); };
    ui.showConnectionPage = [] { ShowChildPanel(1); };
    ui.undimAccept = [] {
        if (interfacepanel)
            interfacepanel->ButtonAccept->setEnabled(true);
    };
    SetLinkUi(ui);
}

void InitAll()
{
    // 1. Constants and initial state (the sizes and the sync word are compile-time constants).
    tcpcon = 0;
    order = 1;
    target = RAM;
    EndLoop();

    // 2. The active cell of the colour-group table.
    RememberGroupCell();

    // 3. The program's directory and the three settings files.
    const QString dir = programDirOverride.isEmpty() ? GetProjectDir() : programDirOverride;
    BuildSettingsPaths(dir, programDirOverride.isEmpty()
                                ? SettingsDirFor(dir, GetSettingsDir(),
                                                 QStandardPaths::writableLocation(
                                                     QStandardPaths::AppDataLocation))
                                : QString());

    // 4. Ramps for the graphs.
    FillRamps();

    // 5. The displays and graphs that fit SOURCE.
    DispVis();

    // 6. Branding.
    ShowLogo(mainpanel->LogoArea, 5);

    // 7. The parameter set as the panels hold it, and the panels as the mode rules make them.
    GetPanelValues();
    InitPanelCtrlAttr();

    // 8. Start-up colours and row texts, 9. row colours into the four tables; the colour mode
    // shows or hides the live colour patch.
    ReadStartupColours();
    InitSrcPanel();

    // 10. The SERVER field becomes a combo box, light grey.
    ComboBox *server = interfacepanel->StringIpAdress;
    Combo_NewComboBox(server);
    Combo_SetComboAttribute(server, ComboAttrColour, 0xE0E0E0);

    // 11. Remembered servers, 12. connection settings and the fields for the protocol.
    FillServerList();
    GetConnectionSettingsFromFile();
    InitConnectPanel();
    RememberConnectionSettings();

    // 13. First connection attempt.
    SetButtonsDimmed(1);
    TryToConnect();
    SetButtonsDimmed(0);
}

void QuitUserInterface()
{
    quitRequested = true;
    if (QCoreApplication::instance())
        QCoreApplication::exit(0);
}

bool QuitRequested() { return quitRequested; }
void ClearQuitRequest() { quitRequested = false; }

int RunUserInterface()
{
    if (quitRequested)
        return 0;
    return QApplication::exec();
}

int StartUserInterface()
{
    QApplication::setQuitOnLastWindowClosed(false); // only closing the main window ends the program
    StartPaintPacing(); // live displays reach the screen at most once per refresh
    if (BuildAllPanels() < 0)
        return -1;
    InstallLinkUi();
    ConnectMainCallbacks();
    ConnectConnectionCallbacks();
    ConnectParamsCallbacks();
    ConnectLiveCallbacks();
    ConnectTeachCallbacks();
    ConnectRecorderCallbacks();
    ConnectCalibCallbacks();
    ConnectCompareCallbacks();
    ConnectUnsentCallbacks();

    ShowChildPanel(2);
    datapanel->show();
    PlaceMainWindow(mainpanel);
    mainpanel->show();
    return 0;
}

void EndUserInterface()
{
    if (tcpcon)
        DisconnectTCP();
    DiscardAllPanels();
    StopPaintPacing();
}

int WinMain()
{
    if (StartUserInterface() < 0)
        return -1;
    InitAll();
    RunUserInterface();
    EndUserInterface();
    return 0;
}

void PreferLeanEventLoop()
{
    if (qEnvironmentVariableIsSet("QT_NO_GLIB") ||
        qEnvironmentVariable("QT_QPA_PLATFORMTHEME").contains(QLatin1String("gtk"), Qt::CaseInsensitive))
        return;
    qputenv("QT_NO_GLIB", "1");
}

void PreferRepaintsWithoutRoundTrip()
{
    // The platform reads the variable's presence, whatever its value; "0" is taken here as the
    // wish to keep shared memory.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    else if (qgetenv("QT_XCB_NO_MITSHM") == "0")
        qunsetenv("QT_XCB_NO_MITSHM");
}

bool NativeDialogsUsable()
{
    const QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance();
    return d && d->inherits("QEventDispatcherGlib");
}

QFileDialog::Options FileDialogOptions(const FileSelectRequest &req, bool native)
{
    QFileDialog::Options o;
    if (!native)
        o |= QFileDialog::DontUseNativeDialog;
    if (!req.dialogAsksToReplace)
        o |= QFileDialog::DontConfirmOverwrite;
    return o;
}

} // namespace tintra
