#pragma once
// Legacy office formats (.xls, .doc) through the office suite's converter, run headless from an argument list
// (never a shell) with a profile of its own, so that a suite the user has open does not block it.

#include <QString>

namespace grid::office {

// Whether the file name asks for a legacy format the grid does not write itself.
bool IsLegacySpreadsheet(const QString& FileName);
bool IsLegacyDocument(const QString& FileName);
// Converts Input into the format of the extension Format ("xlsx", "xls", "docx", "doc") in OutDir and returns
// the new file's path; EExtGridError when the converter is missing, fails or takes longer than TimeoutMs.
QString ConvertOfficeFile(const QString& Input, const QString& Format, const QString& OutDir, int TimeoutMs = 120000);

}  // namespace grid::office
