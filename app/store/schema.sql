-- The snapshot store: the target's account names and the user memberships of its groups.
-- The build turns this file into Template.MDB, the empty store every load starts from.
-- Names compare without regard to case, as account names do. Keys are never reused, so a
-- new account cannot inherit the memberships a deleted one left behind.

-- A user's full name, comment and account flags are what the lists show beside the name; the
-- load reads them with the names, and the user object keeps them in step with its writes.
-- Flags is the account's flag word as last read or written (0x2 disabled, 0x10 locked out,
-- 0x10000 password never expires).
CREATE TABLE User (
    UserID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserName TEXT NOT NULL COLLATE NOCASE,
    FullName TEXT NOT NULL DEFAULT '',
    Comment TEXT NOT NULL DEFAULT '',
    Flags INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX UserName ON User (UserName);

CREATE TABLE [Group] (
    GroupID INTEGER PRIMARY KEY AUTOINCREMENT,
    GroupName TEXT NOT NULL COLLATE NOCASE,
    IsGlobal INTEGER NOT NULL,  -- -1 for a global group, 0 for a local one
    Comment TEXT  -- as the load read it or the group object last wrote it
);
CREATE UNIQUE INDEX GroupName ON [Group] (GroupName);

-- Only users are recorded as members.
CREATE TABLE GroupUser (
    GroupID INTEGER NOT NULL,
    UserID INTEGER NOT NULL
);
CREATE UNIQUE INDEX GroupID_UserID ON GroupUser (GroupID, UserID);
-- The groups of a set of users are found from the users' side: without it, the groups common
-- to thousands of selected users cost one lookup per group and user.
CREATE INDEX UserID_GroupID ON GroupUser (UserID, GroupID);

-- Stored queries: SQL texts kept by name, their parameters bound by name.
CREATE TABLE StoredQuery (
    QueryName TEXT PRIMARY KEY,
    QueryText TEXT NOT NULL
);
INSERT INTO StoredQuery (QueryName, QueryText) VALUES (
    'Q_Groups of a Particular Type',
    'SELECT GroupID, GroupName, IsGlobal FROM [Group] '
    || 'WHERE (IsGlobal <> 0) = (:pIsGlobal <> 0) ORDER BY GroupName'
);
