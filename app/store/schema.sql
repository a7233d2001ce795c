-- The snapshot store: the target's account names and the user memberships of its groups.
-- The build turns this file into Template.MDB, the empty store every load starts from.
-- Names compare without regard to case, as account names do. Keys are never reused, so a
-- new account cannot inherit the memberships a deleted one left behind.

CREATE TABLE User (
    UserID INTEGER PRIMARY KEY AUTOINCREMENT,
    UserName TEXT NOT NULL COLLATE NOCASE
);
CREATE UNIQUE INDEX UserName ON User (UserName);

CREATE TABLE [Group] (
    GroupID INTEGER PRIMARY KEY AUTOINCREMENT,
    GroupName TEXT NOT NULL COLLATE NOCASE,
    IsGlobal INTEGER NOT NULL,  -- -1 for a global group, 0 for a local one
    Comment TEXT
);
CREATE UNIQUE INDEX GroupName ON [Group] (GroupName);

-- Only users are recorded as members.
CREATE TABLE GroupUser (
    GroupID INTEGER NOT NULL,
    UserID INTEGER NOT NULL
);
CREATE UNIQUE INDEX GroupID_UserID ON GroupUser (GroupID, UserID);

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
