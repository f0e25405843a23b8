// Lays pictures out in a grid on the table colour and writes the sheet as a PNG
// into the tests' output folder, for a person to look at.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

QString TestOutputDir();
// Writes `pictures` in rows of `columns` cells of `cell` pixels; returns the path
// written, or an empty string on failure.
QString WritePictureSheet(const QString& name, const std::vector<QImage>& pictures, int columns,
                          QSize cell);
