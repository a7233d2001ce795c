#include "samworld/database.h"

#include "lm.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <unordered_map>
#include <vector>

namespace samworld {

// Spare prepared statements of one connection, by their SQL. A statement in use is not among
// them: a query prepared again while an earlier one of the same SQL still runs gets its own.
class StatementPool {
public:
    StatementPool() = default;
    StatementPool(const StatementPool &) = delete;
    StatementPool &operator=(const StatementPool &) = delete;
    ~StatementPool() {
        for (auto &[sql, statements] : spare_) {
            for (sqlite3_stmt *statement : statements) sqlite3_finalize(statement);
        }
    }

    // The spare statements of this SQL, for as long as the pool lives.
    Statement::Spares &sparesOf(std::string_view sql) {
        auto found = spare_.find(sql);
        if (found == spare_.end()) found = spare_.emplace(std::string(sql), Statement::Spares{}).first;
        return found->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, Statement::Spares, Hash, std::equal_to<>> spare_;
};

namespace {

// How long a change waits for another program that holds the world before it gives up.
constexpr int busyTimeoutMs = 3000;

// The one place where an engine failure becomes a status, from the engine's extended code.
uint32_t statusOf(int extendedCode) {
    // The engine could not make the write-ahead log or its index beside the world.
    if (extendedCode == SQLITE_READONLY_DIRECTORY) return ERROR_CANNOT_MAKE;
    switch (extendedCode & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_READONLY:
        return ERROR_WRITE_PROTECT;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return NERR_InvalidDatabase;
    case SQLITE_CANTOPEN:
        return NERR_ACFNotLoaded;
    case SQLITE_IOERR:
    case SQLITE_FULL:
        return NERR_ACFFileIOFail;
    case SQLITE_NOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return NERR_InternalError;
    }
}

// The failure as a person reads it, naming the world's file or its folder.
std::string sentenceOf(uint32_t status, const std::string &file, const std::string &engineMessage) {
    switch (status) {
    case ERROR_BUSY:
        return "the world " + file + " is held by another program, still after waiting " +
               std::to_string(busyTimeoutMs / 1000) + " seconds";
    case ERROR_WRITE_PROTECT:
        return "the world " + file + " is read-only: it can be read but not changed";
    case ERROR_CANNOT_MAKE:
        return "the folder " + std::filesystem::path(file).parent_path().string() +
               " is not writable, so the world's journal files cannot be made there";
    case NERR_InvalidDatabase:
        return file + " is not a world, or it is damaged";
    default:
        return "the world " + file + ": " + engineMessage;
    }
}

std::string fileOf(sqlite3 *db) {
    const char *file = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
    return file != nullptr ? file : "";
}

[[noreturn]] void fail(sqlite3 *db, int code) {
    if (db == nullptr) throw DatabaseError(code, "", sqlite3_errstr(code));
    throw DatabaseError(sqlite3_extended_errcode(db), fileOf(db), sqlite3_errmsg(db));
}

// A world that nobody may write to is only read. Root, whom the system lets write past the
// permissions, leaves it alone too: taking every write permission away says so on purpose.
bool writable(const std::string &path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) != 0 &&
           ::access(path.c_str(), W_OK) == 0;
}

void check(sqlite3 *db, int code) {
    if (code != SQLITE_OK) fail(db, code);
}

}  // namespace

DatabaseError::DatabaseError(int extendedCode, const std::string &file,
                             const std::string &engineMessage)
    : Error(statusOf(extendedCode), sentenceOf(statusOf(extendedCode), file, engineMessage)),
      sqliteCode(extendedCode & 0xFF) {}

// ---- Statement ----

void Statement::Release::operator()(sqlite3_stmt *statement) const {
    sqlite3_reset(statement);  // repeats the code of a failed step, reported already
    sqlite3_clear_bindings(statement);
    spares->push_back(statement);
}

Statement::Statement(sqlite3 *db, StatementPool &pool, std::string_view sql)
    : db_(db), statement_(nullptr, Release{&pool.sparesOf(sql)}) {
    Spares &spares = *statement_.get_deleter().spares;
    if (!spares.empty()) {
        statement_.reset(spares.back());
        spares.pop_back();
        return;
    }
    sqlite3_stmt *raw = nullptr;
    check(db, sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                 SQLITE_PREPARE_PERSISTENT, &raw, nullptr));
    statement_.reset(raw);
}

Statement &Statement::bind(int index, int64_t value) {
    check(db_, sqlite3_bind_int64(statement_.get(), index, value));
    return *this;
}

Statement &Statement::bind(int index, std::string_view text) {
    check(db_, sqlite3_bind_text(statement_.get(), index, text.data(),
                                 static_cast<int>(text.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement &Statement::bind(int index, const std::vector<uint8_t> &blob) {
    // An empty vector may have no data pointer, which the engine would bind as NULL.
    check(db_, blob.empty() ? sqlite3_bind_zeroblob(statement_.get(), index, 0)
                            : sqlite3_bind_blob(statement_.get(), index, blob.data(),
                                                static_cast<int>(blob.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement &Statement::bindNull(int index) {
    check(db_, sqlite3_bind_null(statement_.get(), index));
    return *this;
}

Statement &Statement::bind(int index, const std::optional<std::string> &text) {
    return text ? bind(index, std::string_view(*text)) : bindNull(index);
}

bool Statement::step() {
    const int code = sqlite3_step(statement_.get());
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    fail(db_, code);
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(statement_.get());
    sqlite3_clear_bindings(statement_.get());
}

int64_t Statement::integer(int column) const { return sqlite3_column_int64(statement_.get(), column); }

std::string Statement::text(int column) const {
    const auto *text = sqlite3_column_text(statement_.get(), column);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char *>(text),
            static_cast<size_t>(sqlite3_column_bytes(statement_.get(), column))};
}

std::optional<std::string> Statement::optionalText(int column) const {
    if (isNull(column)) return std::nullopt;
    return text(column);
}

std::vector<uint8_t> Statement::blob(int column) const {
    const auto *data = static_cast<const uint8_t *>(sqlite3_column_blob(statement_.get(), column));
    const int size = sqlite3_column_bytes(statement_.get(), column);
    if (data == nullptr) return {};
    return {data, data + size};
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

// ---- Database ----

void Database::Closer::operator()(sqlite3 *db) const { sqlite3_close_v2(db); }

Database::Database(const std::string &path, Mode mode)
    : path_(path), pool_(std::make_unique<StatementPool>()) {
    const int access = mode == Mode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                       : writable(path)     ? SQLITE_OPEN_READWRITE
                                            : SQLITE_OPEN_READONLY;
    sqlite3 *raw = nullptr;
    const int code = sqlite3_open_v2(path.c_str(), &raw, access | SQLITE_OPEN_NOMUTEX, nullptr);
    db_.reset(raw);
    if (code != SQLITE_OK) {
        throw DatabaseError(raw != nullptr ? sqlite3_extended_errcode(raw) : code, path,
                            raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(code));
    }
    check(raw, sqlite3_busy_timeout(raw, busyTimeoutMs));
    sqlite3_extended_result_codes(raw, 0);
}

Database::Database(Database &&) noexcept = default;
Database &Database::operator=(Database &&) noexcept = default;
Database::~Database() = default;

void Database::execute(std::string_view sql) const {
    char *message = nullptr;
    const int code = sqlite3_exec(db_.get(), std::string(sql).c_str(), nullptr, nullptr, &message);
    if (code == SQLITE_OK) return;
    const std::string text = message != nullptr ? message : sqlite3_errstr(code);
    sqlite3_free(message);
    throw DatabaseError(sqlite3_extended_errcode(db_.get()), path_, text);
}

int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_.get()); }

int Database::changes() const { return sqlite3_changes(db_.get()); }

// ---- Transaction ----

Transaction::Transaction(const Database &database, Kind kind) : database_(database) {
    database_.prepare(kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED").run();
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        database_.prepare("ROLLBACK").run();
    } catch (const DatabaseError &) {
        // Nothing more to undo: SQLite has rolled the transaction back itself.
    }
}

void Transaction::commit() {
    database_.prepare("COMMIT").run();
    open_ = false;
}

}  // namespace samworld
