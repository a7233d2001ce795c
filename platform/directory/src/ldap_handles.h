// One owner per libldap allocation: a deleter per type, so that nothing libldap hands out
// outlives the function that asked for it.
#pragma once

#include <ldap.h>

#include <memory>

namespace directory {

struct LdapDeleter {
    void operator()(LDAP *ld) const { ldap_unbind_ext(ld, nullptr, nullptr); }
    void operator()(LDAPMessage *message) const { ldap_msgfree(message); }
    void operator()(BerElement *ber) const { ber_free(ber, 0); }
    void operator()(berval **values) const { ldap_value_free_len(values); }
    void operator()(berval *value) const { ber_bvfree(value); }
    void operator()(LDAPControl **controls) const { ldap_controls_free(controls); }
    void operator()(LDAPControl *control) const { ldap_control_free(control); }
    void operator()(char *text) const { ldap_memfree(text); }
};

using LdapHandle = std::unique_ptr<LDAP, LdapDeleter>;
using MessagePtr = std::unique_ptr<LDAPMessage, LdapDeleter>;
using BerPtr = std::unique_ptr<BerElement, LdapDeleter>;
using ValuesPtr = std::unique_ptr<berval *, LdapDeleter>;
using BervalPtr = std::unique_ptr<berval, LdapDeleter>;
using ControlsPtr = std::unique_ptr<LDAPControl *, LdapDeleter>;
using ControlPtr = std::unique_ptr<LDAPControl, LdapDeleter>;
using LdapText = std::unique_ptr<char, LdapDeleter>;

}  // namespace directory
