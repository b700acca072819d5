// A copy of the program's start, for the test of two copies starting on one new file: opens (or
// makes) the address book at argv[1] as the program does and saves one address into it. Exit 0
// when both worked.
#include <QCoreApplication>

#include <cstdio>

#include "address_data.h"
#include "database.h"

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString error;
    if (argc < 2 || !Database::open(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    AddressWrite w;
    w.name = QStringLiteral("x");
    const int number = AddressData(Database::connection()).insert(w);
    Database::close();
    return number > 0 ? 0 : 2;
}
