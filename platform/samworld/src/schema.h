// The world file's tables.
#pragma once

#include "samworld/database.h"

namespace samworld {

// Every connection: foreign keys on (memberships follow their accounts), WAL kept, commits
// that do not wait for the disk.
void configureConnection(const Database &database);
void createSchema(const Database &database);
// A DatabaseError (NERR_InvalidDatabase) when the file holds no world.
void verifySchema(const Database &database);

}  // namespace samworld
