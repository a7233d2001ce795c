#include "schema.h"

#include "lm.h"

#include <sqlite3.h>

#include <string>

namespace samworld {
namespace {

constexpr int formatVersion = 1;

// name_key columns hold foldCase(name): names are compared without regard to case, also
// outside ASCII, and the file stays readable by any SQLite client. Memberships are keyed so
// that a resumed enumeration of a large group reads only its next entries: global groups by
// the user's relative id, local groups by when the member joined.
constexpr const char *schemaSql = R"sql(
CREATE TABLE world(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE sams(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    name_key TEXT NOT NULL UNIQUE,
    kind INTEGER NOT NULL,
    sid TEXT NOT NULL,
    next_rid INTEGER NOT NULL DEFAULT 1000,
    min_password_length INTEGER NOT NULL DEFAULT 0);
CREATE TABLE domains(
    sam_id INTEGER PRIMARY KEY REFERENCES sams(id),
    controller_key TEXT NOT NULL);
CREATE TABLE machines(
    name TEXT NOT NULL,
    name_key TEXT PRIMARY KEY,
    domain_sam_id INTEGER REFERENCES sams(id),
    workgroup TEXT NOT NULL DEFAULT '',
    controller INTEGER NOT NULL DEFAULT 0,
    local INTEGER NOT NULL DEFAULT 0,
    sam_id INTEGER NOT NULL REFERENCES sams(id));
CREATE TABLE trusts(
    trusting INTEGER NOT NULL REFERENCES sams(id),
    trusted INTEGER NOT NULL REFERENCES sams(id),
    PRIMARY KEY(trusting, trusted)) WITHOUT ROWID;
CREATE TABLE accounts(
    id INTEGER PRIMARY KEY,
    sam_id INTEGER NOT NULL REFERENCES sams(id),
    rid INTEGER NOT NULL,
    name TEXT NOT NULL,
    name_key TEXT NOT NULL,
    kind INTEGER NOT NULL,
    builtin INTEGER NOT NULL DEFAULT 0,
    comment TEXT NOT NULL DEFAULT '',
    UNIQUE(sam_id, name_key),
    UNIQUE(sam_id, rid));
CREATE INDEX accounts_by_kind ON accounts(sam_id, kind, rid);
CREATE TABLE users(
    account_id INTEGER PRIMARY KEY REFERENCES accounts(id) ON DELETE CASCADE,
    password_salt BLOB NOT NULL,
    password_hash BLOB NOT NULL,
    password_set INTEGER NOT NULL,
    home_dir TEXT NOT NULL DEFAULT '',
    flags INTEGER NOT NULL,
    script_path TEXT NOT NULL DEFAULT '',
    auth_flags INTEGER NOT NULL DEFAULT 0,
    full_name TEXT NOT NULL DEFAULT '',
    usr_comment TEXT NOT NULL DEFAULT '',
    parms TEXT NOT NULL DEFAULT '',
    workstations TEXT NOT NULL DEFAULT '',
    last_logon INTEGER NOT NULL DEFAULT 0,
    last_logoff INTEGER NOT NULL DEFAULT 0,
    acct_expires INTEGER NOT NULL,
    max_storage INTEGER NOT NULL,
    units_per_week INTEGER NOT NULL,
    logon_hours BLOB NOT NULL,
    bad_pw_count INTEGER NOT NULL DEFAULT 0,
    num_logons INTEGER NOT NULL DEFAULT 0,
    logon_server TEXT NOT NULL DEFAULT '',
    country_code INTEGER NOT NULL DEFAULT 0,
    code_page INTEGER NOT NULL DEFAULT 0,
    primary_group_id INTEGER NOT NULL,
    profile TEXT NOT NULL DEFAULT '',
    home_dir_drive TEXT NOT NULL DEFAULT '',
    password_expired INTEGER NOT NULL DEFAULT 0);
CREATE TABLE group_members(
    group_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    user_rid INTEGER NOT NULL,
    user_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    PRIMARY KEY(group_id, user_rid)) WITHOUT ROWID;
CREATE INDEX group_members_by_user ON group_members(user_id);
CREATE TABLE alias_members(
    id INTEGER PRIMARY KEY,
    alias_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    member_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
    UNIQUE(alias_id, member_id));
CREATE INDEX alias_members_by_member ON alias_members(member_id);
CREATE INDEX alias_members_in_order ON alias_members(alias_id, id);
CREATE TABLE shares(
    machine_key TEXT NOT NULL REFERENCES machines(name_key),
    name TEXT NOT NULL,
    name_key TEXT NOT NULL,
    path TEXT NOT NULL,
    remark TEXT NOT NULL DEFAULT '',
    type INTEGER NOT NULL DEFAULT 0,
    permissions INTEGER NOT NULL DEFAULT 0,
    max_uses INTEGER NOT NULL,
    current_uses INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY(machine_key, name_key));
CREATE TABLE sessions(
    id INTEGER PRIMARY KEY,
    machine_key TEXT NOT NULL REFERENCES machines(name_key),
    user TEXT NOT NULL);
CREATE TABLE faults(
    id INTEGER PRIMARY KEY,
    call TEXT NOT NULL,
    status INTEGER NOT NULL,
    server_key TEXT NOT NULL DEFAULT '',
    after INTEGER NOT NULL DEFAULT 0,
    count INTEGER NOT NULL DEFAULT 1,
    seen INTEGER NOT NULL DEFAULT 0);
)sql";

}  // namespace

void configureConnection(const Database &database) {
    database.execute("PRAGMA foreign_keys = ON");
    // With the write-ahead log, a commit need not wait for the disk: a crash of the machine may
    // lose the last changes but never leaves the world inconsistent.
    database.execute("PRAGMA synchronous = NORMAL");
}

void createSchema(const Database &database) {
    database.execute("PRAGMA journal_mode = WAL");
    Transaction transaction(database);
    database.execute(schemaSql);
    database.prepare("INSERT INTO world(key, value) VALUES ('format', ?)")
        .bind(1, std::to_string(formatVersion))
        .run();
    transaction.commit();
}

void verifySchema(const Database &database) {
    auto query = database.prepare(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'world'");
    query.step();
    if (query.integer(0) == 0) throw DatabaseError(SQLITE_NOTADB, database.path(), "no world table");
}

}  // namespace samworld
