#include "platform/registry/transaction.h"

#include "platform/registry/handles.h"
#include "platform/registry/hive.h"

namespace platform {

using registry::Hive;

RegistryTransaction::RegistryTransaction(HKEY hive) {
    registry::KeyRef ref;
    if (!registry::ResolveHandle(hive, ref)) {
        status_ = ERROR_INVALID_HANDLE;
        return;
    }
    hive_ = ref.hive;
    Hive& h = Hive::Get(hive_);
    // Held until commit or rollback: other threads wait for the whole
    // transaction, this thread's calls join it.
    h.mutex().lock();
    open_ = true;
    status_ = h.Ensure();
    if (status_ == ERROR_SUCCESS) status_ = h.BeginTransaction(depth_);
}

RegistryTransaction::~RegistryTransaction() { rollback(); }

LONG RegistryTransaction::commit() {
    if (!open_) return status_ == ERROR_SUCCESS ? static_cast<LONG>(ERROR_TRANSACTION_NOT_ACTIVE) : status_;
    Hive& h = Hive::Get(hive_);
    LONG result = depth_ > 0 ? h.CommitTransaction(depth_) : status_;
    depth_ = 0;
    open_ = false;
    h.mutex().unlock();
    status_ = result == ERROR_SUCCESS ? static_cast<LONG>(ERROR_TRANSACTION_NOT_ACTIVE) : result;
    return result;
}

void RegistryTransaction::rollback() {
    if (!open_) return;
    Hive& h = Hive::Get(hive_);
    if (depth_ > 0) h.RollbackTransaction(depth_);
    depth_ = 0;
    open_ = false;
    h.mutex().unlock();
    status_ = ERROR_TRANSACTION_NOT_ACTIVE;
}

}  // namespace platform
