#pragma once

#include <QByteArray>
#include <QDate>
#include <QStringList>

namespace tarvello::testing
{

// The checks of its content the exchange system (Sistema di Interscambio) makes on an electronic
// invoice that the file alone decides, written from the Revenue Agency's published list of checks
// and their error codes, for the elements our documents can carry. Each fault comes back as its
// code and what is wrong ("00423 linea 2: PrezzoTotale 10.01, atteso 10.005"); an empty list is a
// document the exchange system would take. `received` is the day it would receive the file (for
// 00403); an invalid date skips that check.
QStringList exchangeSystemFaults(const QByteArray& xml, QDate received = {});

} // namespace tarvello::testing
