#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one place where text crosses between the core (Windows-1252 std::string) and Qt (QString).
// A character Windows-1252 cannot hold becomes "?", one per character, as Windows does.
QString Cp1252ToQString(std::string_view text);
std::string QStringToCp1252(const QString &text);
