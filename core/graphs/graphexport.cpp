#include "graphexport.h"

#include "core/info.h"
#include "core/settings/paths.h"
#include "link/platform.h"

#include <QFile>
#include <QFileInfo>
#include <qcustomplot.h>

namespace tintra {

namespace {

const QString attention = QStringLiteral("ATTENTION!");

// Writes through a temporary file beside the target, which replaces the target only when the
// export succeeded, so a failed export never destroys an older picture.
bool SaveReplacing(const QString &path, const std::function<bool(const QString &)> &write)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return false;
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    if (!write(part) || QFileInfo(part).size() <= 0) {
        QFile::remove(part);
        return false;
    }
    if (target.exists() && !QFile::remove(path)) {
        QFile::remove(part);
        return false;
    }
    return QFile::rename(part, path);
}

void ReportNotSaved(const QString &path)
{
    MessagePopup(attention, QString::fromUtf8(InfoText("TableAttrNotSaved")).arg(path));
}

// Asks for the file name, and whether to replace a file that exists; empty when the operator
// chose none or keeps the existing file.
QString AskFile(const QString &defaultName, const QString &filter, const QString &title)
{
    QString path;
    const QString start = proj_dir.isEmpty() ? GetProjectDir() : proj_dir;
    const int chosen = FileSelectPopup(start, defaultName, filter, title, true, &path);
    if (chosen == NoFileSelected)
        return QString();
    if (chosen == ExistingFileSelected
        && ConfirmPopup(attention, QString::fromUtf8(InfoText("GraphFileExists")).arg(path)) != 1)
        return QString();
    return path;
}

} // namespace

double GraphPngScale(const QCustomPlot *plot)
{
    return std::max(1.0, plot->devicePixelRatioF());
}

bool SaveGraphPng(QCustomPlot *plot, const QString &path)
{
    return SaveReplacing(path, [plot](const QString &p) {
        // The format is named: the temporary file's ending says nothing about it.
        return plot->saveRastered(p, 0, 0, GraphPngScale(plot), "PNG");
    });
}

bool SaveGraphPdf(QCustomPlot *plot, const QString &path)
{
    return SaveReplacing(path, [plot](const QString &p) {
        return plot->savePdf(p, 0, 0, QCP::epNoCosmetic, QStringLiteral("TINTRA-Revov V3.0"),
                             plot->objectName());
    });
}

QByteArray CourseCsv(const std::vector<Course> &courses)
{
    QByteArray out = "frame";
    // Each course runs left to right: walk them side by side, one line per frame.
    std::vector<std::size_t> next(courses.size(), 0);
    for (const Course &c : courses)
        out += ',' + c.name.toUtf8();
    out += '\n';
    for (;;) {
        double frame = -1;
        for (std::size_t i = 0; i < courses.size(); ++i)
            if (next[i] < courses[i].points.size()
                && (frame < 0 || courses[i].points[next[i]].x < frame))
                frame = courses[i].points[next[i]].x;
        if (frame < 0)
            return out;
        out += QByteArray::number(qint64(frame));
        for (std::size_t i = 0; i < courses.size(); ++i) {
            out += ',';
            if (next[i] < courses[i].points.size() && courses[i].points[next[i]].x == frame)
                out += QByteArray::number(qint64(courses[i].points[next[i]++].y));
        }
        out += '\n';
    }
}

bool SaveCourseCsv(const std::vector<Course> &courses, const QString &path)
{
    if (QFileInfo(path).isDir())
        return false;
    return WriteFileAtomically(path, CourseCsv(courses));
}

void SetGraphMenu(QCustomPlot *plot, const char *infoName, CourseSource course)
{
    const QString info = QString::fromUtf8(InfoText(infoName) ? InfoText(infoName) : "");
    OnRightClick(plot, [plot, info, course] {
        QStringList entries{QString::fromLatin1(MenuInfo), QString::fromLatin1(MenuSavePng),
                            QString::fromLatin1(MenuSavePdf)};
        if (course.courses)
            entries << QString::fromLatin1(MenuSaveCsv);
        const QString base = plot->objectName();
        QString path;
        bool ok = true;
        switch (MenuPopup(entries)) {
        case 0:
            MessagePopup(QString::fromUtf8(InfoTitle), info);
            return;
        case 1:
            path = AskFile(base + QStringLiteral(".png"), QStringLiteral("*.png"),
                           QStringLiteral("Save graph as PNG"));
            ok = path.isEmpty() || SaveGraphPng(plot, path);
            break;
        case 2:
            path = AskFile(base + QStringLiteral(".pdf"), QStringLiteral("*.pdf"),
                           QStringLiteral("Save graph as PDF"));
            ok = path.isEmpty() || SaveGraphPdf(plot, path);
            break;
        case 3:
            path = AskFile(course.fileName ? course.fileName() : base + QStringLiteral(".csv"),
                           QStringLiteral("*.csv"), QStringLiteral("Save course as CSV"));
            ok = path.isEmpty() || SaveCourseCsv(course.courses(), path);
            break;
        default:
            return;
        }
        if (!ok)
            ReportNotSaved(path);
    });
}

} // namespace tintra
