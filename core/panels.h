// The fifteen panels. Created once at start-up, then only shown and hidden.
#pragma once

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

namespace tintra {

extern MainPanel *mainpanel;
extern ParaPanel1 *parapanel1;
extern ParaPanel2 *parapanel2;
extern TtPanel *ttpanel;
extern DataPanel *datapanel;
extern TaPanel *tapanel;
extern InterfacePanel *interfacepanel;
extern RecPanel *recpanel;
extern CalibPanel *calibpanel;
extern GraphPanel *graphpanel;
extern TeachPanel *teachpanel;
extern ColBigPanel *colbigpanel;
extern GrpBigPanel *grpbigpanel;
extern P3SidesView *p3sidesview;
extern ComparePanel *comparepanel; // a window of the main window

} // namespace tintra
