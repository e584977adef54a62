#pragma once

#include <QDateTime>

#include <string>

namespace hvr::platform {

// The local time as the records and reports show it: "2026-12-09 16:36:09".
inline std::string localTimeText() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

// The time of a reading: ISO 8601 with milliseconds and the offset from UTC.
inline std::string isoTimeText() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs).toStdString();
}

} // namespace hvr::platform
