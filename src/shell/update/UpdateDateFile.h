#pragma once
// "updatetime.config" in the user folder: the date of the last completed update check,
// {"updatelasttime": {"value": "year-month-day"}} with no leading zeros.

#include <QString>

namespace shell::update {

// Today's date as the file keeps it.
QString TodayText();
// The stored date; when the file has none, today's date, which is stored.
QString ReadCheckDate(const std::string& userFolder);
void WriteCheckDate(const std::string& userFolder, const QString& date);

} // namespace shell::update
