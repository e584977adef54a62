// An archive's rows, whatever they hold, as hvr::archive::Archive reads them: every answer is a
// record, a list or the reason it is none; nothing crashes.
#include <cstdlib>

#include "archive/archive.h"
#include "fuzz/fuzz_input.h"

namespace {

// A database that answers every statement with rows made of the fuzzer's bytes.
class FuzzedDatabase final : public hvr::platform::Database {
  public:
    explicit FuzzedDatabase(hvr::fuzz::Input& in) : m_in(in) {}
    Dialect dialect() const override { return Dialect::Sqlite; }
    std::string name() const override { return "fuzz"; }
    bool exec(const std::string&, const std::vector<hvr::platform::SqlValue>&,
              std::vector<hvr::platform::SqlRow>* rows, std::string* why) override {
        if (m_in.byte() % 16 == 0) {
            *why = "refused";
            return false;
        }
        if (rows == nullptr) return true;
        // A database gives every column a statement selects: rows as wide as the widest select.
        const int count = m_in.byte() % 6, columns = 16;
        for (int r = 0; r < count; ++r) {
            hvr::platform::SqlRow row;
            for (int c = 0; c < columns; ++c)
                row.push_back(value());
            rows->push_back(std::move(row));
        }
        return true;
    }
    bool execMany(const std::string&, const std::vector<std::vector<hvr::platform::SqlValue>>&,
                  std::string*) override {
        return m_in.byte() % 2 == 0;
    }
    bool begin(std::string*) override { return true; }
    bool beginExclusive(std::string*) override { return true; }
    bool prepareForWriting(std::string*) override { return true; }
    bool commit(std::string*) override { return true; }
    void rollback() override {}

  private:
    hvr::platform::SqlValue value() {
        switch (m_in.byte() % 5) {
        case 0:
            return std::monostate{};
        case 1:
            return static_cast<std::int64_t>(static_cast<std::int8_t>(m_in.byte()));
        case 2:
            return static_cast<double>(m_in.byte()) / 7.0;
        case 3:
            return m_in.text();
        default: {
            const auto b = m_in.bytes(m_in.byte() % 12);
            return hvr::platform::Bytes(b.begin(), b.end());
        }
        }
    }
    hvr::fuzz::Input& m_in;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hvr::fuzz::Input in(data, size);
    FuzzedDatabase db(in);
    hvr::archive::Archive archive(db);
    std::string why;
    if (!archive.open(&why, in.byte() % 2 ? hvr::archive::Archive::Purpose::Reading
                                          : hvr::archive::Archive::Purpose::Writing))
        return 0;
    archive.listTests({}, &why);
    if (const auto record = archive.loadTest(1, &why)) hvr::archive::testCsv(*record);
    archive.listSessions(&why);
    archive.sessionReadings(1, &why);
    archive.check(&why);
    return 0;
}
