// The fifteen panels. Created once at start-up, then only shown and hidden.
#pragma once

namespace tintra {

// Include the header of each panel a file uses (core/panels/<name>.h); this one only names them.
class MainPanel;
class ParaPanel1;
class ParaPanel2;
class TtPanel;
class DataPanel;
class TaPanel;
class InterfacePanel;
class RecPanel;
class CalibPanel;
class GraphPanel;
class TeachPanel;
class ColBigPanel;
class GrpBigPanel;
class P3SidesView;
class ComparePanel;

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
