#include "panels.h"

namespace tintra {

MainPanel *mainpanel = nullptr;
ParaPanel1 *parapanel1 = nullptr;
ParaPanel2 *parapanel2 = nullptr;
TtPanel *ttpanel = nullptr;
DataPanel *datapanel = nullptr;
TaPanel *tapanel = nullptr;
InterfacePanel *interfacepanel = nullptr;
RecPanel *recpanel = nullptr;
CalibPanel *calibpanel = nullptr;
GraphPanel *graphpanel = nullptr;
TeachPanel *teachpanel = nullptr;
ColBigPanel *colbigpanel = nullptr;
GrpBigPanel *grpbigpanel = nullptr;
P3SidesView *p3sidesview = nullptr;
ComparePanel *comparepanel = nullptr;

} // namespace tintra
