// One more copy of the program, for the tests of copies working at once: opens (or makes) the
// address book at argv[1] as the program does and saves argv[2] addresses into it (1 when not
// given), each on its own as the entry window saves. Exit 0 when all of it worked.
#include <QCoreApplication>

#include <cstdio>

#include "address_data.h"
#include "database.h"

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString error;
    if (argc < 2 || !Database::open(QString::fromLocal8Bit(argv[1]), &error, 30000)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 1;
    AddressData data(Database::connection());
    for (int i = 0; i < count; ++i) {
        AddressWrite w;
        w.name = QStringLiteral("x%1").arg(i);
        if (data.insert(w) == 0) {
            std::fprintf(stderr, "save %d: %s\n", i, qPrintable(data.lastError()));
            return 2;
        }
    }
    Database::close();
    return 0;
}
