#include "platform/wine/lutris_games.h"

#include <sqlite3.h>

#include <memory>

namespace quorvik::platform::wine {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::string column(sqlite3_stmt* statement, int index) {
    const unsigned char* text = sqlite3_column_text(statement, index);
    return text != nullptr ? reinterpret_cast<const char*>(text) : std::string();
}

}  // namespace

std::vector<LutrisEntry> readLutrisGames(const std::filesystem::path& database) {
    std::vector<LutrisEntry> games;
    // A pipe or a device in its place would block the open or the read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(database, error)) return games;

    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(database.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> db(opened);
    if (status != SQLITE_OK) return games;
    // Lutris may be writing it just now: wait a moment rather than fail at once.
    sqlite3_busy_timeout(db.get(), 500);

    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT id, slug, directory, configpath FROM games", -1,
                           &prepared, nullptr) != SQLITE_OK) {
        sqlite3_finalize(prepared);
        return games;
    }
    const std::unique_ptr<sqlite3_stmt, Finalize> statement(prepared);
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        LutrisEntry entry{column(statement.get(), 0), column(statement.get(), 1),
                          column(statement.get(), 2), column(statement.get(), 3)};
        if (!entry.id.empty()) games.push_back(std::move(entry));
    }
    return games;
}

}  // namespace quorvik::platform::wine
