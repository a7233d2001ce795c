// What the store hands each account object when it opens a target: the open store, the
// error list every failure goes to, and the server whose SAM is the target.
#pragma once

#include "status/clsErr.h"
#include "store/Database.h"

#include <string>

class AccountObject {
public:
    void DataSource(Database &database) { dataSource_ = &database; }
    void ErrorObject(clsErr &errors) { errorObject_ = &errors; }
    void SAMHost(const std::string &host) { samHost_ = host; }

    Database *DataSource() const { return dataSource_; }
    clsErr *ErrorObject() const { return errorObject_; }
    const std::string &SAMHost() const { return samHost_; }

protected:
    AccountObject() = default;
    ~AccountObject() = default;
    AccountObject(const AccountObject &) = delete;
    AccountObject &operator=(const AccountObject &) = delete;

private:
    Database *dataSource_ = nullptr;
    clsErr *errorObject_ = nullptr;
    std::string samHost_;
};
