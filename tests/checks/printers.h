#pragma once

// Readable failure output: GoogleTest would otherwise print these values as raw bytes.

#include "checks/checkmessage.h"

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace tarvello
{

inline void PrintTo(const CheckMessage& message, std::ostream* os)
{
    *os << (message.kind == CheckMessage::Kind::Information ? "information " : "warning ");
    ::PrintTo(message.text, os);
    *os << (message.closesWindow ? ", closes the window" : ", window stays open");
}

} // namespace tarvello
