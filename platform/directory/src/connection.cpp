#include "connection.h"

#include "handshake_deadline.h"
#include "ldap_handles.h"
#include "values.h"

#include <sasl/sasl.h>

#include <algorithm>
#include <cctype>
#include <chrono>

namespace directory {

struct Connection::Handle {
    LdapHandle ld;
    bool paging = false;  // the server lists the paged-results control
};

namespace {

constexpr int pageSize = 1000;
constexpr timeval networkTimeout{5, 0};
// The TLS handshake gets as long as the TCP connect did.
constexpr std::chrono::seconds handshakeTimeout{networkTimeout.tv_sec};
constexpr timeval operationTimeout{30, 0};
constexpr const char *pagedResultsOid = LDAP_CONTROL_PAGEDRESULTS;
constexpr const char *extendedDnOid = "1.2.840.113556.1.4.529";
constexpr const char *systemCaBundle = "/etc/ssl/certs/ca-certificates.crt";

std::string diagnosticOf(LDAP *ld) {
    char *text = nullptr;
    ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &text);
    const LdapText owned(text);
    return owned ? std::string(owned.get()) : std::string();
}

[[noreturn]] void fail(LDAP *ld, int code, const std::string &what) {
    std::string diagnostic = diagnosticOf(ld);
    if (diagnostic.empty()) diagnostic = ldap_err2string(code);
    throw LdapError(code, diagnostic, what);
}

void check(LDAP *ld, int code, const std::string &what) {
    if (code != LDAP_SUCCESS) fail(ld, code, what);
}

void setOption(LDAP *ld, int option, const void *value, const char *what) {
    const int code = ldap_set_option(ld, option, value);
    if (code != LDAP_OPT_SUCCESS) throw LdapError(code, ldap_err2string(code), what);
}

// Protocol 3, timeouts, no chasing of referrals (they lead out of the namespace we know).
LdapHandle initialize(const std::string &uri) {
    LDAP *raw = nullptr;
    const int code = ldap_initialize(&raw, uri.c_str());
    LdapHandle ld(raw);
    if (code != LDAP_SUCCESS) throw LdapError(code, ldap_err2string(code), "initialize " + uri);
    const int version = LDAP_VERSION3;
    setOption(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version, "protocol version");
    setOption(ld.get(), LDAP_OPT_NETWORK_TIMEOUT, &networkTimeout, "network timeout");
    setOption(ld.get(), LDAP_OPT_TIMEOUT, &operationTimeout, "operation timeout");
    setOption(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF, "referrals");
    return ld;
}

// The certificate must chain to the configured CA, or to the system's, and carry the host
// name; this handle's own TLS context, never the process-wide one.
void requireCheckedTls(LDAP *ld, const std::string &caFile) {
    const int demand = LDAP_OPT_X_TLS_DEMAND;
    setOption(ld, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand, "certificate check");
    const std::string ca = caFile.empty() ? systemCaBundle : caFile;
    setOption(ld, LDAP_OPT_X_TLS_CACERTFILE, ca.c_str(), "CA file");
    const int client = 0;
    setOption(ld, LDAP_OPT_X_TLS_NEWCTX, &client, "TLS context");
}

std::string bindName(const Credentials &credentials, const std::string &dnsDomain) {
    const std::string user(credentials.user);
    const bool qualified = user.find_first_of("\\@") != std::string::npos;
    return qualified || dnsDomain.empty() ? user : user + "@" + dnsDomain;
}

// Whether the controller is there at all when TLS failed: an anonymous read of the root entry
// on the plain port, which sends nothing secret. A controller that is there answers it at once.
bool answersInPlainText(const std::string &host) {
    try {
        const LdapHandle ld = initialize("ldap://" + host);
        LDAPMessage *raw = nullptr;
        timeval wait = networkTimeout;
        const int code = ldap_search_ext_s(ld.get(), "", LDAP_SCOPE_BASE, "(objectClass=*)", nullptr, 0, nullptr,
                                           nullptr, &wait, 1, &raw);
        const MessagePtr result(raw);
        return code == LDAP_SUCCESS;
    } catch (const LdapError &) {
        return false;
    }
}

LdapHandle passwordBind(const Endpoint &endpoint, const Credentials &credentials) {
    LdapHandle ld = initialize("ldaps://" + endpoint.host);
    requireCheckedTls(ld.get(), endpoint.caFile);
    const int connected = [&] {
        const HandshakeDeadline deadline(ld.get(), handshakeTimeout);
        return ldap_connect(ld.get());
    }();
    if (connected != LDAP_SUCCESS && answersInPlainText(endpoint.host)) {
        throw LdapError(LDAP_STRONG_AUTH_REQUIRED, "the controller's certificate was not accepted",
                        "TLS to " + endpoint.host);
    }
    check(ld.get(), connected, "connect to " + endpoint.host);
    if (!ldap_tls_inplace(ld.get())) throw LdapError(LDAP_STRONG_AUTH_REQUIRED, "no TLS", "connect");
    // An empty password would make the bind anonymous: refuse it as the controller would.
    if (credentials.password.empty()) throw LdapError(LDAP_INVALID_CREDENTIALS, "no password", "bind");
    berval password{credentials.password.size(), const_cast<char *>(credentials.password.data())};
    const std::string name = bindName(credentials, endpoint.dnsDomain);
    check(ld.get(),
          ldap_sasl_bind_s(ld.get(), name.c_str(), LDAP_SASL_SIMPLE, &password, nullptr, nullptr, nullptr),
          "bind as " + name);
    return ld;
}

// Nothing to answer: the ticket is the identity, and the library never prompts.
int noInteraction(LDAP *, unsigned, void *, void *prompts) {
    for (auto *prompt = static_cast<sasl_interact_t *>(prompts); prompt->id != SASL_CB_LIST_END; ++prompt) {
        prompt->result = "";
        prompt->len = 0;
    }
    return LDAP_SUCCESS;
}

LdapHandle ticketBind(const Endpoint &endpoint) {
    LdapHandle ld = initialize("ldap://" + endpoint.host);
    setOption(ld.get(), LDAP_OPT_X_SASL_NOCANON, LDAP_OPT_ON, "no canonical host names");
    setOption(ld.get(), LDAP_OPT_X_SASL_SECPROPS, "minssf=56", "require sealing");
    const int code = ldap_sasl_interactive_bind_s(ld.get(), nullptr, "GSSAPI", nullptr, nullptr,
                                                  LDAP_SASL_QUIET, noInteraction, nullptr);
    if (code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR || code == LDAP_TIMEOUT) {
        fail(ld.get(), code, "connect to " + endpoint.host);
    }
    // No ticket, or one the controller refuses: the caller is asked for a name and password.
    if (code != LDAP_SUCCESS) throw LdapError(LDAP_INVALID_CREDENTIALS, diagnosticOf(ld.get()), "Kerberos bind");
    ber_len_t strength = 0;
    ldap_get_option(ld.get(), LDAP_OPT_X_SASL_SSF, &strength);
    if (strength == 0) throw LdapError(LDAP_STRONG_AUTH_REQUIRED, "not sealed", "Kerberos bind");
    return ld;
}

bool listsControl(LDAP *ld, const char *oid) {
    const char *attributes[] = {"supportedControl", nullptr};
    LDAPMessage *raw = nullptr;
    const int code = ldap_search_ext_s(ld, "", LDAP_SCOPE_BASE, "(objectClass=*)",
                                       const_cast<char **>(attributes), 0, nullptr, nullptr,
                                       nullptr, 0, &raw);
    const MessagePtr result(raw);
    check(ld, code, "read the root entry");
    LDAPMessage *entry = ldap_first_entry(ld, result.get());
    if (entry == nullptr) return false;
    const ValuesPtr values(ldap_get_values_len(ld, entry, "supportedControl"));
    for (int i = 0; values && values.get()[i] != nullptr; ++i) {
        const berval *value = values.get()[i];
        if (std::string_view(value->bv_val, value->bv_len) == oid) return true;
    }
    return false;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Copies every entry of a result chain into owned records.
void collectEntries(LDAP *ld, LDAPMessage *result, std::vector<Entry> &entries) {
    for (LDAPMessage *message = ldap_first_entry(ld, result); message != nullptr;
         message = ldap_next_entry(ld, message)) {
        Entry entry;
        const LdapText dn(ldap_get_dn(ld, message));
        if (dn) entry.dn = dn.get();
        BerElement *rawBer = nullptr;
        for (char *name = ldap_first_attribute(ld, message, &rawBer); name != nullptr;
             name = ldap_next_attribute(ld, message, rawBer)) {
            const LdapText ownedName(name);
            const ValuesPtr values(ldap_get_values_len(ld, message, name));
            auto &target = entry.attributes[lowerCase(name)];
            for (int i = 0; values && values.get()[i] != nullptr; ++i) {
                target.emplace_back(values.get()[i]->bv_val, values.get()[i]->bv_len);
            }
        }
        const BerPtr ber(rawBer);
        entries.push_back(std::move(entry));
    }
}

struct CArray {
    explicit CArray(const std::vector<std::string> &texts) {
        for (const auto &text : texts) pointers.push_back(const_cast<char *>(text.c_str()));
        pointers.push_back(nullptr);
    }
    char **get() { return pointers.data(); }
    std::vector<char *> pointers;
};

ControlPtr extendedDnControl(LDAP *ld) {
    LDAPControl *control = nullptr;
    check(ld, ldap_control_create(extendedDnOid, 0, nullptr, 1, &control), "extended DN control");
    return ControlPtr(control);
}

// Modifications as libldap takes them; the berval arrays point into `changes`.
class ModificationArray {
public:
    explicit ModificationArray(const std::vector<Modification> &changes) {
        for (const auto &change : changes) {
            auto &values = values_.emplace_back();
            for (const auto &value : change.values) {
                values.push_back(berval{value.size(), const_cast<char *>(value.data())});
            }
        }
        for (size_t i = 0; i < changes.size(); ++i) {
            auto &pointers = pointers_.emplace_back();
            for (auto &value : values_[i]) pointers.push_back(&value);
            pointers.push_back(nullptr);
        }
        for (size_t i = 0; i < changes.size(); ++i) {
            LDAPMod mod{};
            mod.mod_op = LDAP_MOD_BVALUES | operation(changes[i].kind);
            mod.mod_type = const_cast<char *>(changes[i].attribute.c_str());
            mod.mod_bvalues = changes[i].values.empty() ? nullptr : pointers_[i].data();
            mods_.push_back(mod);
        }
        for (auto &mod : mods_) array_.push_back(&mod);
        array_.push_back(nullptr);
    }
    LDAPMod **get() { return array_.data(); }

private:
    static int operation(Modification::Kind kind) {
        switch (kind) {
        case Modification::Kind::Add: return LDAP_MOD_ADD;
        case Modification::Kind::Delete: return LDAP_MOD_DELETE;
        case Modification::Kind::Replace: return LDAP_MOD_REPLACE;
        }
        return LDAP_MOD_REPLACE;
    }
    std::vector<std::vector<berval>> values_;
    std::vector<std::vector<berval *>> pointers_;
    std::vector<LDAPMod> mods_;
    std::vector<LDAPMod *> array_;
};

}  // namespace

const std::vector<std::string> &Entry::values(const std::string &name) const {
    static const std::vector<std::string> none;
    const auto found = attributes.find(lowerCase(name));
    return found == attributes.end() ? none : found->second;
}

std::string Entry::first(const std::string &name) const {
    const auto &all = values(name);
    return all.empty() ? std::string() : all.front();
}

Connection Connection::open(const Endpoint &endpoint, const std::optional<Credentials> &credentials) {
    auto handle = std::make_unique<Handle>();
    handle->ld = credentials ? passwordBind(endpoint, *credentials) : ticketBind(endpoint);
    handle->paging = listsControl(handle->ld.get(), pagedResultsOid);
    return Connection(std::move(handle));
}

Connection::Connection(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
Connection::Connection(Connection &&) noexcept = default;
Connection &Connection::operator=(Connection &&) noexcept = default;
Connection::~Connection() = default;

std::vector<Entry> Connection::search(const std::string &base, Scope scope, const std::string &filter,
                                      const std::vector<std::string> &attributes, bool extendedDn) const {
    LDAP *ld = handle_->ld.get();
    const int ldapScope = scope == Scope::Base ? LDAP_SCOPE_BASE
                          : scope == Scope::OneLevel ? LDAP_SCOPE_ONELEVEL : LDAP_SCOPE_SUBTREE;
    CArray names(attributes);
    const ControlPtr extended = extendedDn ? extendedDnControl(ld) : nullptr;
    std::vector<Entry> entries;
    berval cookie{0, nullptr};
    std::string cookieBytes;  // owned copy of the server's cookie between pages
    do {
        std::vector<LDAPControl *> controls;
        ControlPtr paging;
        if (handle_->paging && scope != Scope::Base) {
            LDAPControl *control = nullptr;
            check(ld, ldap_create_page_control(ld, pageSize, cookieBytes.empty() ? nullptr : &cookie, 1, &control),
                  "paging control");
            paging.reset(control);
            controls.push_back(control);
        }
        if (extended) controls.push_back(extended.get());
        controls.push_back(nullptr);
        LDAPMessage *raw = nullptr;
        const int code = ldap_search_ext_s(ld, base.c_str(), ldapScope, filter.c_str(), names.get(), 0,
                                           controls.data(), nullptr, nullptr, 0, &raw);
        const MessagePtr result(raw);
        if (code != LDAP_SUCCESS) fail(ld, code, "search " + filter + " under " + base);
        collectEntries(ld, result.get(), entries);
        if (!paging) break;
        LDAPControl **rawControls = nullptr;
        int serverCode = LDAP_SUCCESS;
        check(ld, ldap_parse_result(ld, result.get(), &serverCode, nullptr, nullptr, nullptr, &rawControls, 0),
              "search result");
        const ControlsPtr returned(rawControls);
        cookieBytes.clear();
        LDAPControl *response = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, returned.get(), nullptr);
        if (response != nullptr) {
            ber_int_t estimate = 0;
            berval next{0, nullptr};
            check(ld, ldap_parse_pageresponse_control(ld, response, &estimate, &next), "paging response");
            cookieBytes.assign(next.bv_val != nullptr ? next.bv_val : "", next.bv_len);
            ber_memfree(next.bv_val);
        }
        cookie = berval{cookieBytes.size(), cookieBytes.data()};
    } while (!cookieBytes.empty());
    return entries;
}

std::optional<Entry> Connection::read(const std::string &dn, const std::vector<std::string> &attributes) const {
    try {
        auto entries = search(dn, Scope::Base, "(objectClass=*)", attributes);
        if (entries.empty()) return std::nullopt;
        return std::move(entries.front());
    } catch (const LdapError &error) {
        if (error.code == LDAP_NO_SUCH_OBJECT) return std::nullopt;
        throw;
    }
}

std::vector<std::string> Connection::readRanged(const std::string &dn, const std::string &attribute,
                                                bool extendedDn) const {
    std::vector<std::string> all;
    uint64_t next = 0;
    while (true) {
        const std::string window = attribute + ";range=" + std::to_string(next) + "-*";
        const auto entries = search(dn, Scope::Base, "(objectClass=*)", {window}, extendedDn);
        if (entries.empty()) return all;
        std::optional<Range> range;
        bool found = false;
        for (const auto &[name, values] : entries.front().attributes) {
            if (name == lowerCase(attribute)) {
                all.insert(all.end(), values.begin(), values.end());
                return all;  // the server sent every value at once
            }
            if ((range = parseRange(name, attribute))) {
                all.insert(all.end(), values.begin(), values.end());
                found = true;
                break;
            }
        }
        if (!found || !range->last) return all;
        next = *range->last + 1;
    }
}

void Connection::add(const std::string &dn, const std::vector<Modification> &attributes) const {
    ModificationArray mods(attributes);
    check(handle_->ld.get(), ldap_add_ext_s(handle_->ld.get(), dn.c_str(), mods.get(), nullptr, nullptr),
                "add " + dn);
}

void Connection::modify(const std::string &dn, const std::vector<Modification> &changes) const {
    ModificationArray mods(changes);
    check(handle_->ld.get(), ldap_modify_ext_s(handle_->ld.get(), dn.c_str(), mods.get(), nullptr, nullptr),
                "modify " + dn);
}

void Connection::remove(const std::string &dn) const {
    check(handle_->ld.get(), ldap_delete_ext_s(handle_->ld.get(), dn.c_str(), nullptr, nullptr),
                "delete " + dn);
}

std::string primaryControllerOf(const std::string &dnsDomain) {
    char *raw = nullptr;
    const int code = ldap_domain2hostlist(("pdc._msdcs." + dnsDomain).c_str(), &raw);
    const LdapText hosts(raw);
    if (code != LDAP_SUCCESS || !hosts || *hosts.get() == '\0') {
        throw LdapError(LDAP_SERVER_DOWN, "no controller is announced in DNS", "find the controller of " + dnsDomain);
    }
    // "host:port host:port ...": the first, without its port.
    std::string first(hosts.get());
    first = first.substr(0, first.find(' '));
    return first.substr(0, first.rfind(':'));
}

std::string filterValue(std::string_view value) {
    berval in{value.size(), const_cast<char *>(value.data())};
    berval out{0, nullptr};
    if (ldap_bv2escaped_filter_value(&in, &out) != 0) throw std::bad_alloc();
    std::string escaped(out.bv_val, out.bv_len);
    ber_memfree(out.bv_val);
    return escaped;
}

}  // namespace directory
