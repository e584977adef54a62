// Stores tests of 4600 groups into an archive, one after another, until it is killed: the
// writer that the crash test kills mid-write. With "once DEVICE", opens the archive and stores
// one small test, as a program started beside others does.
#include <QCoreApplication>

#include <iostream>

#include "archive/archive.h"
#include "platform/qt_database.h"
#include "sim/scenario.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool once = argc == 4 && std::string(argv[2]) == "once";
    if (argc != 2 && !once) return 2;
    std::string why;
    auto db = hvr::platform::QtDatabase::open(argv[1], &why);
    if (!db) {
        std::cerr << why << std::endl;
        return 1;
    }
    hvr::archive::Archive archive(*db);
    if (!archive.open(&why)) {
        std::cerr << why << std::endl;
        return 1;
    }
    const int groups = once ? 20 : 4600;
    const auto store = hvr::sim::Scenario::synthetic(groups);
    hvr::archive::TestRecord record{
        0, "", "2026-12-09 10:00:00", {"城南", once ? argv[3] : "CT-1", "A", "王工", ""}, "600/5", "0.5", "w", {}};
    for (int g = 1; g <= groups; ++g)
        record.frames.push_back(store.storedGroup(g));
    if (once) {
        if (!archive.storeTest(record, &why)) {
            std::cerr << why << std::endl;
            return 1;
        }
        return 0;
    }
    for (int n = 1;; ++n) {
        if (!archive.storeTest(record, &why)) return 1;
        std::cout << n << std::endl; // one line a committed record
    }
}
