#include "widgets/TextCodec.h"

#include "utils/Cp1252.h"

#include <QList>

QString Cp1252ToQString(std::string_view text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text)
        result.append(QChar(Cp1252ToUnicode(static_cast<unsigned char>(c))));
    return result;
}

std::string QStringToCp1252(const QString &text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    // Walk by code point so a character outside the basic plane gives one "?", not two.
    for (const uint character : text.toUcs4()) {
        const auto byte = UnicodeToCp1252(static_cast<char32_t>(character));
        result.push_back(byte ? static_cast<char>(*byte) : '?');
    }
    return result;
}
