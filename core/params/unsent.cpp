#include "unsent.h"

#include "core/panels/cells.h"
#include "panelvalues.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "link/paraimage.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace tintra {

namespace {

ParaImage &Synced()
{
    static ParaImage image{};
    return image;
}
bool everSynced = false;
std::vector<std::function<bool()>> &Kinds()
{
    static std::vector<std::function<bool()>> kinds;
    return kinds;
}
bool updating = false;   // the marks being written: their own change notifications are ignored
bool scheduled = false;

// A frame drawn over a marked control. It lies on the control's parent, follows the control's
// geometry and visibility, and lets every mouse event through.
class MarkFrame : public QWidget {
public:
    explicit MarkFrame(QWidget *control) : QWidget(control->parentWidget()), control(control)
    {
        setObjectName(QStringLiteral("UnsentMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        control->installEventFilter(this);
        follow();
    }
    QPointer<QWidget> control;

    void follow()
    {
        if (!control)
            return;
        setGeometry(control->geometry().adjusted(-2, -2, 2, 2));
        // Shown only while the control is marked: a page shown again must not bring back the
        // frame of a mark that cleared while the page was hidden.
        setVisible(control->isVisible() && property("marked").toBool());
        raise();
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            follow();
            break;
        default:
            break;
        }
        return false;
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QPen(Rgb(int(unsentMarkRgb)), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
};

MarkFrame *FrameOf(QWidget *control)
{
    if (!control->parentWidget())
        return nullptr;
    for (auto *f : control->parentWidget()->findChildren<MarkFrame *>(
             QStringLiteral("UnsentMark"), Qt::FindDirectChildrenOnly))
        if (f->control == control)
            return f;
    return nullptr;
}

void Schedule()
{
    if (updating || scheduled)
        return;
    scheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        scheduled = false;
        UpdateUnsentMarks();
    });
}

} // namespace

void SetControlMarked(QWidget *control, bool on)
{
    MarkFrame *f = FrameOf(control);
    if (on && !f)
        f = new MarkFrame(control);
    if (f) {
        f->setProperty("marked", on);
        f->follow();
    }
}

bool ControlMarked(QWidget *control)
{
    const MarkFrame *m = control ? FrameOf(control) : nullptr;
    return m && m->property("marked").toBool();
}

void AddUnsentKind(std::function<bool()> update) { Kinds().push_back(std::move(update)); }

void ScheduleUnsentMarks() { Schedule(); }

KeptParaState::KeptParaState()
{
    for (int i = 0; i < 16; ++i)
        scalars[i] = *paraScalars[i];
    std::copy(std::begin(paraTeachTable), std::end(paraTeachTable), teach);
    std::copy(std::begin(paraGroupBuf), std::end(paraGroupBuf), groups);
    std::copy(std::begin(paraHoldBuf), std::end(paraHoldBuf), holds);
    std::copy(pp, pp + ppSize, image);
}

KeptParaState::~KeptParaState()
{
    for (int i = 0; i < 16; ++i)
        *paraScalars[i] = scalars[i];
    std::copy(std::begin(teach), std::end(teach), paraTeachTable);
    std::copy(std::begin(groups), std::end(groups), paraGroupBuf);
    std::copy(std::begin(holds), std::end(holds), paraHoldBuf);
    std::copy(image, image + ppSize, pp);
}

ParaImage PanelImage()
{
    // GetPanelValues is the one reading of the panels; the variables and pp are put back.
    const KeptParaState keep;
    GetPanelValues();
    CopyVarsToPP();
    ParaImage out;
    std::copy(pp, pp + anzpara, out.begin());
    return out;
}

ParaField FieldOf(int word)
{
    ParaPanel1 *p1 = parapanel1;
    ParaPanel2 *p2 = parapanel2;
    ParaField f;
    if (!p1 || !p2 || !ttpanel || word < 0 || word >= anzpara)
        return f;
    if (word < 16) {
        QWidget *const controls[16] = {
            p1->SlidePower,  p1->EditPmode,       p1->EditAverage,  p1->Evalmode,
            nullptr,         p1->EditIntlim,      p1->EditMaxcolNo, p1->EditOutmode,
            p1->EditTrigger, p1->EditExteach,     p1->Calcmode,     p1->EditDynWinLo,
            p1->EditDynWinHi, p2->EditColorGroups, p1->EditLedMode, p1->EditGain,
        };
        f.control = controls[word];
        if (word == 4) { // the hold time of colour number 255: first row of the hold table
            f.table = p2->EditGridHold;
            f.col = 1;
            f.row = 1;
        }
        return f;
    }
    const int r = (word - 16) / 7, k = (word - 16) % 7;
    if (k < 5) {
        f.table = ttpanel->GridCtt;
        f.col = k + 1;
        f.row = r + 1;
    } else if (k == 5) {
        f.table = p2->EditGridGroups;
        f.col = 1;
        f.row = r + 1;
    } else {
        f.table = p2->EditGridHold;
        f.col = 1;
        f.row = r + 2;
    }
    return f;
}

void MarkPanelsSynced()
{
    Synced() = PanelImage();
    everSynced = true;
    UpdateUnsentMarks();
}

void UpdateUnsentMarks()
{
    if (!mainpanel || !parapanel1)
        return;
    if (!everSynced) {
        // Until the first read or write, the panels' own start values are the reference.
        Synced() = PanelImage();
        everSynced = true;
    }
    updating = true;
    const ParaImage now = PanelImage();
    bool any = false;
    for (int w = 0; w < anzpara; ++w) {
        const bool on = now[size_t(w)] != Synced()[size_t(w)];
        any = any || on;
        const ParaField f = FieldOf(w);
        if (f.control)
            SetControlMarked(f.control, on);
        else if (f.table)
            SetCellMarked(f.table, f.col, f.row, on);
    }
    for (const auto &kind : Kinds())
        any = kind() || any;
    updating = false;
    const QString base = QStringLiteral("TINTRA-Revov V3.0");
    mainpanel->setWindowTitle(any ? base + QStringLiteral(" *") : base);
}

bool HasUnsentParameterChanges()
{
    if (!everSynced || !parapanel1)
        return false;
    return PanelImage() != Synced();
}

bool HasUnsentChanges()
{
    // The marks of the other kinds are brought up to date as well: the answer and the marks
    // the operator sees agree.
    bool any = false;
    updating = true;
    for (const auto &kind : Kinds())
        any = kind() || any;
    updating = false;
    return any || HasUnsentParameterChanges();
}

bool IsMarked(int word)
{
    const ParaField f = FieldOf(word);
    if (f.control)
        return ControlMarked(f.control);
    return f.table && CellMarked(f.table, f.col, f.row);
}

void WatchUnsentChanges()
{
    ParaPanel1 *p1 = parapanel1;
    QObject *ctx = mainpanel;
    for (int w = 0; w < 16; ++w) {
        QWidget *c = FieldOf(w).control;
        if (auto *ring = qobject_cast<QComboBox *>(c))
            QObject::connect(ring, &QComboBox::currentIndexChanged, ctx, [] { Schedule(); });
        else if (auto *spin = qobject_cast<QSpinBox *>(c))
            QObject::connect(spin, &QSpinBox::valueChanged, ctx, [] { Schedule(); });
        else if (auto *box = qobject_cast<QCheckBox *>(c))
            QObject::connect(box, &QCheckBox::toggled, ctx, [] { Schedule(); });
    }
    QObject::connect(p1->SlidePower, &QSlider::valueChanged, ctx, [] { Schedule(); });
    // The tables' models report every change, also the program's own (teaching, RESET).
    for (QTableWidget *t : {ttpanel->GridCtt, parapanel2->EditGridGroups, parapanel2->EditGridHold})
        QObject::connect(t->model(), &QAbstractItemModel::dataChanged, ctx, [] { Schedule(); });
    // New panels start without a reference: what they show first is the reference until the
    // first read or write (a set kept from earlier panels would mark everything).
    everSynced = false;
    Kinds().clear();
    Schedule();
}

} // namespace tintra
