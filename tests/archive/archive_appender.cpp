// Appends `count` customer records whose surname is "<tag> <n>", one open/append/close per record,
// the way the customer card saves a new card.
#include "archive/archivefile.h"
#include "archive/customerrecord.h"

#include <QString>

#include <cstdlib>

using namespace tarvello;

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    const QString tag = QString::fromLocal8Bit(argv[3]);
    Record rec(CustomerRecord::layout());
    for (int i = 0; i < count; ++i) {
        ArchiveFile file(path, CustomerRecord::Size);
        if (!file.open())
            return 1;
        rec.setText(CustomerRecord::Cognome, QString(tag + u' ' + QString::number(i)));
        if (!file.seek(file.count()) || !file.write(rec.bytes()) || !file.close())
            return 1;
    }
    return 0;
}
