#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TResultRow;
class IMessageBox;

// The save dialog of "Save Results".
inline constexpr const char *SaveResultsDialogTitle = "Save results to csv";
inline constexpr const char *SaveResultsDialogFilter = "Comma delimited (*.csv)|*.csv";

// The name the save dialog hands on: ".csv" appended unless the name already ends in it, case aside.
std::string EnsureCsvExtension(std::string_view fileName);

// The file's bytes: the header line, then one line per row, every field in double quotes (inner
// quotes doubled), CR LF after every line, text bytes as they are.
std::string ResultsCsvText(const std::vector<TResultRow> &rows);

// Writes the file under a temporary name beside it and renames it over the target, so a failure
// never leaves a partial file in place of an older one. Throws EFileError.
void WriteResultsCsv(const std::string &fileName, const std::vector<TResultRow> &rows);

// The warning shown when a save fails.
std::string SaveResultsFailedText(std::string_view fileName);

// Writes the rows to path; on failure shows SaveResultsFailedText(shownName) as a warning with
// one OK button. The shown name is the path as the user reads it, which may differ from its bytes
// on disk. True when the file was written.
bool SaveResultsToCsv(const std::string &path, std::string_view shownName,
                      const std::vector<TResultRow> &rows, IMessageBox &messageBox);
