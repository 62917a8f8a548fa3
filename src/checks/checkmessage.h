#pragma once

#include <QString>

namespace tarvello
{

// What a check window shows once "Controlla" has been pressed, and what it does afterwards.
struct CheckMessage {
    enum class Kind { Information, Warning };

    Kind kind = Kind::Warning;
    QString text;
    // A warning about the input itself (wrong length, nothing typed) sends the user back to the
    // field with the window still open; a verdict on the number closes the window.
    bool closesWindow = false;

    bool operator==(const CheckMessage&) const = default;
};

} // namespace tarvello
