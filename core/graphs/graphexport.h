// Saving a graph: as a PNG picture or a PDF document through the plot's own export, and a signal
// graph's course as a CSV table; and the graphs' context menu that offers it.
#pragma once

#include "core/graphs/envelope.h"

#include <QString>
#include <functional>
#include <vector>

class QCustomPlot;

namespace tintra {

// Factor from the plot's size on screen to the PNG's pixels: the screen's device pixel ratio,
// never below 1, so the picture is at least as sharp as what the operator sees.
double GraphPngScale(const QCustomPlot *plot);

// Write the plot as it is on screen. A file is replaced only when the new one is complete; false
// when it cannot be written (an older file of that name is then kept).
bool SaveGraphPng(QCustomPlot *plot, const QString &path);
bool SaveGraphPdf(QCustomPlot *plot, const QString &path);

// One signal's course with its name.
struct Course {
    QString name;
    std::vector<EnvelopePoint> points;
};

// The courses side by side: header "frame,<name>,<name>,...", then one line per frame at which any
// course has a point, in order, each course's value at that frame or nothing (LF line ends).
QByteArray CourseCsv(const std::vector<Course> &courses);
bool SaveCourseCsv(const std::vector<Course> &courses, const QString &path);

// Context-menu entries of a graph (the CSV entry only where a course is given).
inline const char *const MenuInfo = "Info";
inline const char *const MenuSavePng = "Save as PNG ...";
inline const char *const MenuSavePdf = "Save as PDF ...";
inline const char *const MenuSaveCsv = "Save course as CSV ...";

// What the CSV entry saves: the courses, and the file name the dialog offers.
struct CourseSource {
    std::function<std::vector<Course>()> courses;
    std::function<QString()> fileName;
};

// A right click on `plot` opens its context menu: Info shows the info text `infoName` as a right
// click elsewhere does; the save entries ask for a file name (file dialog) and write the file.
void SetGraphMenu(QCustomPlot *plot, const char *infoName, CourseSource course = {});

} // namespace tintra
