// A thin RAII layer over SQLite for the snapshot store: Database (one connection), Statement
// (one prepared statement) and Transaction (rolled back unless committed). Every engine
// failure raises ProgramError with SQLite's extended result code as its number.
// Binds count from 1 and columns from 0, as in SQLite; a parameter is named without its ':'.
#pragma once

#include "status/ProgramError.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// Why the store refused, in words an administrator can act on ("another program is using
// it"), from the number a failure of this layer carries.
std::string PlainStoreFailure(const ProgramError &failure);

class Statement {
public:
    Statement(sqlite3 *connection, std::string_view sql);

    Statement &bind(int index, int64_t value);
    Statement &bind(int index, std::string_view text);
    Statement &bind(const std::string &name, int64_t value);
    Statement &bind(const std::string &name, std::string_view text);

    // True while a row is available.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    // Ready for the next use, binds cleared.
    void reset();

    int64_t integer(int column) const;
    std::string text(int column) const;

private:
    int parameterIndex(const std::string &name) const;
    void check(int resultCode) const;

    struct Finalizer {
        void operator()(sqlite3_stmt *statement) const;
    };
    sqlite3 *connection_;
    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

class Database {
public:
    enum class Mode { OpenExisting, Create };
    explicit Database(const std::filesystem::path &path, Mode mode = Mode::OpenExisting);

    Statement prepare(std::string_view sql) const { return Statement(connection_.get(), sql); }
    void execute(const std::string &sql) const;
    int64_t lastInsertId() const;
    // A stored query by its name, prepared, its parameters to be bound by name.
    Statement storedQuery(const std::string &queryName) const;

private:
    struct Closer {
        void operator()(sqlite3 *connection) const;
    };
    std::unique_ptr<sqlite3, Closer> connection_;
};

class Transaction {
public:
    explicit Transaction(const Database &database);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    const Database &database_;
    bool open_ = true;
};
