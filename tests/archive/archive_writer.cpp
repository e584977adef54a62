// Stores tests of 4600 groups into an archive, one after another, until it is killed: the
// writer that the crash test kills mid-write.
#include <QCoreApplication>

#include <iostream>

#include "archive/archive.h"
#include "platform/qt_database.h"
#include "sim/scenario.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    std::string why;
    auto db = hvr::platform::QtDatabase::open(argv[1], &why);
    if (!db) return 1;
    hvr::archive::Archive archive(*db);
    if (!archive.open(&why)) return 1;
    const auto store = hvr::sim::Scenario::synthetic(4600);
    hvr::archive::TestRecord record{0, "2026-12-09 10:00:00", {"城南", "CT-1", "A", "王工", ""}, "600/5", "0.5", "w", {}};
    for (int g = 1; g <= 4600; ++g)
        record.frames.push_back(store.storedGroup(g));
    for (int n = 1;; ++n) {
        if (!archive.storeTest(record, &why)) return 1;
        std::cout << n << std::endl; // one line a committed record
    }
}
