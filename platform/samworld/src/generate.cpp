// `samworld generate`: bulk accounts for benchmarks, in one transaction through statements
// prepared once. Deterministic per seed (std::mt19937 is the same everywhere; only its raw
// output is used).
#include "samworld/world.h"

#include "samworld/accounts.h"
#include "samworld/network.h"
#include "writers.h"

#include <array>
#include <random>
#include <unordered_set>

#include <sqlite3.h>

namespace samworld {
namespace {

constexpr std::array words = {"amber", "birch", "cobble", "dune", "ember", "fern", "gull",
                              "heron", "inlet", "juniper", "kelp", "linden", "marsh", "nettle",
                              "otter", "pebble", "quarry", "reed", "shore", "thistle", "umber",
                              "vale", "willow", "yarrow"};

std::string word(std::mt19937 &random) { return words[random() % words.size()]; }

struct Plan {
    int users;
    int groups;
    int membersPerGroup;
};

void requireSensible(const Plan &plan) {
    if (plan.users < 0 || plan.groups < 0 || plan.membersPerGroup < 0 ||
        plan.users > 1000000 || plan.groups > 99999) {
        throw Error(ERROR_INVALID_PARAMETER, "counts are between 0 and 1000000 users, 99999 groups");
    }
    if (plan.groups > 0 && plan.membersPerGroup > plan.users) {
        throw Error(ERROR_INVALID_PARAMETER, "a group cannot have more members than there are users");
    }
}

// Distinct indexes of `count` users out of `total`.
std::vector<int> sample(std::mt19937 &random, int total, int count) {
    std::unordered_set<int> chosen;
    std::vector<int> ordered;
    while (static_cast<int>(ordered.size()) < count) {
        const int index = static_cast<int>(random() % static_cast<uint32_t>(total));
        if (chosen.insert(index).second) ordered.push_back(index);
    }
    return ordered;
}

class Generator {
public:
    Generator(const Database &database, const SamInfo &sam, uint32_t seed)
        : database_(database), sam_(sam), random_(seed), accounts_(database), users_(database),
          members_(database) {
        auto next = database.prepare("SELECT next_rid FROM sams WHERE id = ?");
        next.bind(1, sam.id).step();
        nextRid_ = static_cast<uint32_t>(next.integer(0));
        primaryGroupId_ = Sam(database, sam).findByRid(ridDomainUsers)->id;
    }

    void run(const Plan &plan) {
        std::vector<Member> users;
        users.reserve(static_cast<size_t>(plan.users));
        for (int i = 0; i < plan.users; ++i) users.push_back(addUser(i));
        const auto kind = sam_.kind == SamKind::Domain ? AccountKind::GlobalGroup : AccountKind::LocalGroup;
        for (int g = 0; g < plan.groups; ++g) {
            const std::string name = word(random_) + "-crew-" + std::to_string(g);
            const int64_t group = accounts_.insert(sam_, nextRid_++, name, kind, false, "Generated crew");
            for (int index : sample(random_, plan.users, plan.membersPerGroup)) {
                const Member &user = users[static_cast<size_t>(index)];
                kind == AccountKind::GlobalGroup ? members_.addGroupUser(group, user.id, user.rid)
                                                 : members_.addLocalMember(group, user.id);
            }
        }
        database_.prepare("UPDATE sams SET next_rid = ? WHERE id = ?")
            .bind(1, int64_t{nextRid_})
            .bind(2, sam_.id)
            .run();
    }

private:
    struct Member {
        int64_t id;
        uint32_t rid;
    };

    Member addUser(int i) {
        UserRecord user;
        const std::string first = word(random_);
        const std::string second = word(random_);
        // No password: hashing a hundred thousand at a strong world's cost would take the
        // better part of an hour.
        user.name = first + std::to_string(i);
        user.fullName = first + " " + second;
        user.comment = "Generated account " + std::to_string(i);
        if (random_() % 10 == 0) user.flags |= UF_ACCOUNTDISABLE;
        const uint32_t rid = nextRid_++;
        const int64_t id = accounts_.insert(sam_, rid, user.name, AccountKind::User, false, user.comment);
        users_.insert(id, user);
        members_.addGroupUser(primaryGroupId_, id, rid);
        return {id, rid};
    }

    const Database &database_;
    const SamInfo &sam_;
    std::mt19937 random_;
    AccountWriter accounts_;
    UserRowWriter users_;
    MembershipWriter members_;
    uint32_t nextRid_ = 0;
    int64_t primaryGroupId_ = 0;
};

}  // namespace

void World::generate(const std::string &sam, int users, int groups, int membersPerGroup,
                     uint32_t seed) {
    const Plan plan{users, groups, membersPerGroup};
    requireSensible(plan);
    Transaction transaction(database_);
    const SamInfo info = Network(database_).sam(sam);
    try {
        Generator(database_, info, seed).run(plan);
    } catch (const DatabaseError &error) {
        if (error.sqliteCode != SQLITE_CONSTRAINT) throw;
        throw Error(NERR_UserExists, "generated names clash with accounts of " + info.name +
                                         "; choose another --seed");
    }
    transaction.commit();
}

}  // namespace samworld
