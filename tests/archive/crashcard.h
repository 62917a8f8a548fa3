#pragma once

// The card the crash test's saver writes: every field says which save wrote it, so that a record
// mixed from two saves or cut short shows.

#include "archive/customerrecord.h"

#include <QString>

namespace crashtest
{

inline QByteArray cardOf(qint64 n)
{
    using namespace tarvello;
    Record rec(CustomerRecord::layout());
    const QString mark = QString::number(n);
    for (int f = 0; f < CustomerRecord::FieldCount; ++f)
        rec.setText(f, QString(mark + u'.' + QString(f % 7, u'x'))
                           .left(CustomerRecord::layout().fields[size_t(f)].capacity));
    rec.setText(CustomerRecord::Note, QString(mark + u' ').repeated(40).left(250));
    return rec.bytes();
}

// The save that wrote `record`, read back from its surname; 0 for a record no save wrote whole.
inline qint64 writtenBy(const QByteArray& record)
{
    using namespace tarvello;
    const Record rec(CustomerRecord::layout(), record);
    bool ok = false;
    const qint64 n = rec.text(CustomerRecord::Cognome).section(u'.', 0, 0).toLongLong(&ok);
    return ok && cardOf(n) == record ? n : 0;
}

} // namespace crashtest
