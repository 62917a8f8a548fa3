#pragma once

// What the customer window tests share: the program on a temporary folder with the card shown,
// typing that copes with accented letters, and archives prepared byte by byte.

#include "archive/archivefile.h"
#include "customers/clienti.h"
#include "customers/customercard.h"
#include "files.h"
#include "shell/conventions.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace cardtesting
{

inline tarvello::TfrmClienti* openCard(TestProgram& t)
{
    auto* card = qobject_cast<tarvello::TfrmClienti*>(t.window(QStringLiteral("frmClienti")));
    if (card)
        tarvello::AppContext::showScreen(card);
    return card;
}

// Types each character as a key press; characters beyond ASCII go as a key carrying only text.
inline void type(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline void click(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

inline QString fieldText(QWidget* w)
{
    return tarvello::controlText(w);
}

// A customer as the card would store it.
inline QByteArray
customer(const QString& surname, const QString& name, const QString& flag = QStringLiteral("No"),
         std::initializer_list<std::pair<tarvello::CustomerRecord::Field, QString>> more = {})
{
    tarvello::CustomerCard::CardTexts t;
    t[tarvello::CustomerRecord::Cognome] = surname;
    t[tarvello::CustomerRecord::Nome] = name;
    t[tarvello::CustomerRecord::Ricontatta] = flag;
    for (const auto& [field, value] : more)
        t[size_t(field)] = value;
    return tarvello::CustomerCard::toRecord(t).bytes();
}

inline QByteArray recordAt(const QString& path, int index)
{
    return recordBytes(path, index, tarvello::CustomerRecord::Size);
}

} // namespace cardtesting

// After a helper that checks with QCOMPARE inside a lambda: stop the calling test once it failed.
#define CHECK_BODY()                                                                                         \
    do {                                                                                                     \
        if (QTest::currentTestFailed())                                                                      \
            return;                                                                                          \
    } while (false)
