#pragma once

// A window's own control by its object name, for tests that drive a window as a user does and check
// what it shows: the screens keep their controls to themselves. A control of a secondary window the
// screen owns never answers for the screen's own. A control that is not there stops the test run,
// naming it: no check can go on without it.

#include <QString>
#include <QStringView>
#include <QWidget>

template <class T = QWidget> T* named(const QWidget* window, QStringView name)
{
    const QString wanted = name.toString();
    for (T* control : window->findChildren<T*>(wanted))
        if (control->window() == window->window())
            return control;
    qFatal("%s has no control %s of the kind asked for", qPrintable(window->objectName()),
           qPrintable(wanted));
    return nullptr;
}

// The control of row `row` (from 0) of a repeated control: named<QLineEdit>(screen, u"txtQuant", 0)
// is txtQuant01.
template <class T = QWidget> T* named(const QWidget* window, QStringView stem, size_t row)
{
    const QString name = stem.toString() + QString::number(row + 1).rightJustified(2, u'0');
    return named<T>(window, name);
}
