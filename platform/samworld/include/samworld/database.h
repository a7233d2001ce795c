// A thin RAII pair over SQLite: Database (one connection) and Statement (one prepared query),
// plus Transaction (rolled back unless committed). Errors become samworld::DatabaseError.
// Binds count from 1, columns from 0, as SQLite does.
//
// A connection keeps the statements it prepared for its whole life: a Statement that ends goes
// back to its connection, reset, and the next prepare of the same SQL takes it up again instead
// of parsing it anew. The calls of a large enumeration repeat the same few queries thousands of
// times.
#pragma once

#include "backend/error.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace samworld {

// A failure with the Windows status that describes it (NERR_*, ERROR_*).
using backend::Error;

// A failure of the database engine itself, with the status that says what it means for the
// world (busy, read-only, no room for its journal, not a world) and a sentence that names the
// world's file or folder. sqliteCode is the engine's primary result code.
struct DatabaseError : Error {
    DatabaseError(int extendedCode, const std::string &file, const std::string &engineMessage);
    int sqliteCode;
};

class StatementPool;

class Statement {
public:
    // Prepared statements of one SQL that wait to be taken up again.
    using Spares = std::vector<sqlite3_stmt *>;

    // Prepared from the pool's spare statements when it holds one for this SQL.
    Statement(sqlite3 *db, StatementPool &pool, std::string_view sql);

    Statement &bind(int index, int64_t value);
    Statement &bind(int index, std::string_view text);
    Statement &bind(int index, const std::string &text) { return bind(index, std::string_view(text)); }
    Statement &bind(int index, const char *text) { return bind(index, std::string_view(text)); }
    Statement &bind(int index, const std::vector<uint8_t> &blob);
    Statement &bindNull(int index);
    Statement &bind(int index, const std::optional<std::string> &text);

    // True while a row is available.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Back to the start, binds cleared, for the next use of a prepared statement.
    void reset();

    int64_t integer(int column) const;
    std::string text(int column) const;
    std::optional<std::string> optionalText(int column) const;
    std::vector<uint8_t> blob(int column) const;
    bool isNull(int column) const;

private:
    // Hands the statement back, reset, to the spares of its SQL.
    struct Release {
        Spares *spares;
        void operator()(sqlite3_stmt *statement) const;
    };
    sqlite3 *db_;
    std::unique_ptr<sqlite3_stmt, Release> statement_;
};

class Database {
public:
    enum class Mode { OpenExisting, Create };
    Database(const std::string &path, Mode mode);
    Database(Database &&) noexcept;
    Database &operator=(Database &&) noexcept;
    ~Database();

    Statement prepare(std::string_view sql) const { return Statement(db_.get(), *pool_, sql); }
    void execute(std::string_view sql) const;
    int64_t lastInsertId() const;
    int changes() const;
    const std::string &path() const { return path_; }

private:
    struct Closer {
        void operator()(sqlite3 *db) const;
    };
    std::string path_;
    std::unique_ptr<sqlite3, Closer> db_;
    // After the connection, so that it is finalized first; on the heap, so that the statements
    // handed out keep their pool when the Database is moved.
    std::unique_ptr<StatementPool> pool_;
};

// Write: BEGIN IMMEDIATE, so writers queue on the busy timeout instead of failing when a
// read lock would have to be upgraded. Read: one consistent snapshot for several queries.
class Transaction {
public:
    enum class Kind { Read, Write };
    explicit Transaction(const Database &database, Kind kind = Kind::Write);
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    ~Transaction();
    void commit();

private:
    const Database &database_;
    bool open_ = true;
};

}  // namespace samworld
