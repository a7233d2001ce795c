// One bound connection to a domain controller, and the few LDAP operations the account calls
// need: paged searches, base reads, ranged reads of long attributes, add, modify, delete.
// Every failure is an LdapError carrying the server's code and diagnostic text; what that
// means for a call is decided by the caller (result_status.h).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

typedef struct ldap LDAP;

namespace directory {

struct LdapError : std::runtime_error {
    LdapError(int code, std::string diagnostic, const std::string &what)
        : std::runtime_error(what + ": " + diagnostic), code(code), diagnostic(std::move(diagnostic)) {}
    int code;                // the LDAP result code, negative for the client's own failures
    std::string diagnostic;  // the server's text (AD begins it with an 8-digit Windows error)
};

// Where a controller answers: the host name its certificate carries, the CA that signed the
// certificate (empty: the system's), and the DNS domain (bare user names bind as name@dns).
struct Endpoint {
    std::string host;
    std::string caFile;
    std::string dnsDomain;
};

// A name and password lent for one bind: nothing keeps them afterwards.
struct Credentials {
    std::string_view user;  // NAME, DOMAIN\NAME or NAME@dns.domain
    std::string_view password;
};

// One entry of a search: its DN and its values (bytes), under lower-case attribute names.
struct Entry {
    std::string dn;
    std::map<std::string, std::vector<std::string>> attributes;

    const std::vector<std::string> &values(const std::string &name) const;  // empty when absent
    std::string first(const std::string &name) const;                       // "" when absent
    bool has(const std::string &name) const { return !values(name).empty(); }
};

enum class Scope { Base, OneLevel, Subtree };

struct Modification {
    enum class Kind { Add, Delete, Replace } kind;
    std::string attribute;
    std::vector<std::string> values;  // Delete with no values removes the attribute
};

class Connection {
public:
    // Connects and binds. With credentials: a simple bind, only ever over TLS (LDAPS) with the
    // certificate checked. Without: SASL GSSAPI with the caller's Kerberos ticket, signed and
    // sealed. LdapError on failure (49 for a refused or missing identity).
    static Connection open(const Endpoint &endpoint, const std::optional<Credentials> &credentials);

    Connection(Connection &&) noexcept;
    Connection &operator=(Connection &&) noexcept;
    ~Connection();

    // Every entry that matches, read in pages where the server offers paging. extendedDn:
    // DN-valued attributes come with the SID of the object they name (see parseExtendedDn).
    std::vector<Entry> search(const std::string &base, Scope scope, const std::string &filter,
                              const std::vector<std::string> &attributes, bool extendedDn = false) const;
    // One object by DN; nullopt when there is none.
    std::optional<Entry> read(const std::string &dn, const std::vector<std::string> &attributes) const;
    // Every value of one attribute of one object, read window by window (member;range=a-b).
    std::vector<std::string> readRanged(const std::string &dn, const std::string &attribute,
                                        bool extendedDn) const;

    void add(const std::string &dn, const std::vector<Modification> &attributes) const;
    void modify(const std::string &dn, const std::vector<Modification> &changes) const;
    void remove(const std::string &dn) const;

private:
    struct Handle;
    explicit Connection(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

// The host name of the domain's primary controller, as the domain's DNS announces it
// (_ldap._tcp.pdc._msdcs.<dnsDomain>). LdapError (server down) when it announces none.
std::string primaryControllerOf(const std::string &dnsDomain);

// Filter text for a value, escaped byte by byte (RFC 4515).
std::string filterValue(std::string_view value);

}  // namespace directory
