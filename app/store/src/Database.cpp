#include "store/Database.h"

#include <sqlite3.h>

namespace {

const char *const kSource = "Database";

[[noreturn]] void raise(sqlite3 *connection, int resultCode, const std::string &context) {
    const char *detail =
        connection != nullptr ? sqlite3_errmsg(connection) : sqlite3_errstr(resultCode);
    throw ProgramError(resultCode, kSource, context + ": " + detail);
}

}  // namespace

std::string PlainStoreFailure(const ProgramError &failure) {
    switch (failure.number() & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "another program is using it";
        case SQLITE_READONLY:
            return "it is read-only";
        case SQLITE_FULL:
            return "the disk is full";
        case SQLITE_IOERR:
            return "the disk could not be written";
        case SQLITE_CANTOPEN:
            return "it cannot be opened";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return "it is damaged";
        default:
            return failure.description();
    }
}

Statement::Statement(sqlite3 *connection, std::string_view sql) : connection_(connection) {
    sqlite3_stmt *statement = nullptr;
    const int resultCode = sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()),
                                              &statement, nullptr);
    statement_.reset(statement);
    if (resultCode != SQLITE_OK) {
        raise(connection, resultCode, "Preparing " + std::string(sql));
    }
}

void Statement::Finalizer::operator()(sqlite3_stmt *statement) const {
    sqlite3_finalize(statement);
}

void Statement::check(int resultCode) const {
    if (resultCode != SQLITE_OK) {
        raise(connection_, resultCode, sqlite3_sql(statement_.get()));
    }
}

Statement &Statement::bind(int index, int64_t value) {
    check(sqlite3_bind_int64(statement_.get(), index, value));
    return *this;
}

Statement &Statement::bind(int index, std::string_view text) {
    check(sqlite3_bind_text(statement_.get(), index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

int Statement::parameterIndex(const std::string &name) const {
    const int index = sqlite3_bind_parameter_index(statement_.get(), (":" + name).c_str());
    if (index == 0) {
        throw ProgramError(SQLITE_RANGE, kSource,
                           "No parameter " + name + " in " + sqlite3_sql(statement_.get()));
    }
    return index;
}

Statement &Statement::bind(const std::string &name, int64_t value) {
    return bind(parameterIndex(name), value);
}

Statement &Statement::bind(const std::string &name, std::string_view text) {
    return bind(parameterIndex(name), text);
}

bool Statement::step() {
    const int resultCode = sqlite3_step(statement_.get());
    if (resultCode == SQLITE_ROW) {
        return true;
    }
    if (resultCode != SQLITE_DONE) {
        raise(connection_, resultCode, sqlite3_sql(statement_.get()));
    }
    return false;
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    // A failure of the last step was raised by step() already; reset repeats its code.
    sqlite3_reset(statement_.get());
    check(sqlite3_clear_bindings(statement_.get()));
}

int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_.get(), column);
}

std::string Statement::text(int column) const {
    const auto *text =
        reinterpret_cast<const char *>(sqlite3_column_text(statement_.get(), column));
    return text != nullptr ? std::string(text, sqlite3_column_bytes(statement_.get(), column))
                           : std::string();
}

Database::Database(const std::filesystem::path &path, Mode mode) {
    const int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    sqlite3 *connection = nullptr;
    const int resultCode = sqlite3_open_v2(path.c_str(), &connection, flags, nullptr);
    connection_.reset(connection);
    if (resultCode != SQLITE_OK) {
        raise(connection, resultCode, "Opening " + path.string());
    }
    sqlite3_extended_result_codes(connection, 1);
}

void Database::Closer::operator()(sqlite3 *connection) const {
    // close_v2 waits for statements still alive instead of failing.
    sqlite3_close_v2(connection);
}

void Database::execute(const std::string &sql) const {
    const int resultCode = sqlite3_exec(connection_.get(), sql.c_str(), nullptr, nullptr, nullptr);
    if (resultCode != SQLITE_OK) {
        raise(connection_.get(), resultCode, sql);
    }
}

int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(connection_.get()); }

Statement Database::storedQuery(const std::string &queryName) const {
    Statement lookup = prepare("SELECT QueryText FROM StoredQuery WHERE QueryName = :name");
    lookup.bind("name", queryName);
    if (!lookup.step()) {
        throw ProgramError(SQLITE_NOTFOUND, kSource, "No stored query " + queryName);
    }
    return prepare(lookup.text(0));
}

Transaction::Transaction(const Database &database) : database_(database) {
    database_.execute("BEGIN");
}

Transaction::~Transaction() {
    if (open_) {
        // A destructor cannot report: should the rollback fail, closing the connection
        // still undoes the uncommitted transaction.
        try {
            database_.execute("ROLLBACK");
        } catch (const ProgramError &) {
        }
    }
}

void Transaction::commit() {
    database_.execute("COMMIT");
    open_ = false;
}
