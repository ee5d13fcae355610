#pragma once
// Groups registry calls into one all-or-nothing change of a hive.  While the
// object lives, every Reg* call of this thread on keys of the hive joins the
// transaction, and other threads and processes wait for it to end; they never
// see half of it.  Destroyed without a successful commit() (an exception, an
// early return) it rolls back and leaves nothing.  Transactions on the same
// hive may nest on one thread: an inner one commits into the outer one.
#include "platform/registry/registry.h"

namespace platform {

class RegistryTransaction {
public:
    // Any key of the hive names it: a predefined root or an open handle.
    explicit RegistryTransaction(HKEY hive);
    ~RegistryTransaction();
    RegistryTransaction(const RegistryTransaction&) = delete;
    RegistryTransaction& operator=(const RegistryTransaction&) = delete;

    // ERROR_SUCCESS when every change is stored.  A transaction that could
    // not begin, or whose commit failed, reports that error and stores
    // nothing; committing again after a success gives
    // ERROR_TRANSACTION_NOT_ACTIVE.  A transaction begun before fork() is
    // the parent's: in the child it is not active.
    LONG commit();
    // Drops every change now (the destructor does the same).
    void rollback();

    // ERROR_SUCCESS while the transaction is open, else why it is not.
    LONG status() const { return status_; }

private:
    int hive_ = -1;
    int depth_ = 0;
    LONG status_ = ERROR_SUCCESS;
    bool open_ = false;
};

}  // namespace platform
