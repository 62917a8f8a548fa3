#pragma once

// Lengths in the report engine are millimetres. Some layouts are drawn in screen units of
// 1/96 inch and fonts come in points (1/72 inch); these convert between the three.

namespace tarvello
{

inline constexpr double mmPerInch = 25.4;
inline constexpr double unitsPerInch = 96.0;
inline constexpr double pointsPerInch = 72.0;

constexpr double mmFromUnits(double units)
{
    return units * mmPerInch / unitsPerInch;
}
constexpr double unitsFromMm(double mm)
{
    return mm * unitsPerInch / mmPerInch;
}
constexpr double mmFromPoints(double points)
{
    return points * mmPerInch / pointsPerInch;
}
constexpr double pointsFromMm(double mm)
{
    return mm * pointsPerInch / mmPerInch;
}

// A "thin" line: one screen unit wide, as the layouts were drawn on a 96 dpi screen.
inline constexpr double thinLineMm = mmFromUnits(1.0);

} // namespace tarvello
