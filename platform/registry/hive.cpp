#include "platform/registry/hive.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/kernel/root.h"
#include "platform/registry/schema.h"

namespace platform::registry {
namespace {

// Nothing waits longer than this for another writer of the hive.
constexpr int kBusyTimeoutMs = 10000;

}  // namespace

Query::~Query() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

Query& Query::Bind(int index, std::int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Query& Query::Bind(int index, std::string_view text) { return BindBlob(index, text.data(), text.size()); }

Query& Query::BindBlob(int index, const void* data, std::size_t size) {
    // A null pointer would bind SQL NULL; an empty name or value is a blob.
    static const char kEmpty = 0;
    if (stmt_) sqlite3_bind_blob64(stmt_, index, size ? data : &kEmpty, size, SQLITE_TRANSIENT);
    return *this;
}

bool Query::Next() {
    if (!stmt_) return false;
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE && error_ == ERROR_SUCCESS) error_ = hive_.ErrorFrom(rc);
    return false;
}

LONG Query::Run() {
    while (Next()) {
    }
    return error_;
}

std::int64_t Query::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Query::Text(int column) const {
    const void* data = sqlite3_column_blob(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)) : std::string();
}

Hive& Hive::Get(int index) {
    static Hive hives[kHiveCount] = {Hive(kUserHive), Hive(kMachineHive)};
    return hives[index];
}

std::string Hive::FilePath() const {
    return PlatformRoot() + (index_ == kUserHive ? "/registry/user.db" : "/registry/machine.db");
}

LONG Hive::ErrorFrom(int rc) const {
    int sysErrno = db_ ? sqlite3_system_errno(db_) : 0;
    bool denied = sysErrno == EACCES || sysErrno == EPERM || sysErrno == EROFS;
    switch (rc & 0xFF) {
    case SQLITE_OK: return ERROR_SUCCESS;
    case SQLITE_NOTADB: return ERROR_BADDB;
    case SQLITE_CORRUPT: return ERROR_REGISTRY_CORRUPT;
    // Our statements are fixed; one that fails to run means the file holds
    // tables that are not a hive's.
    case SQLITE_ERROR:
    case SQLITE_SCHEMA:
    case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT: return ERROR_BADDB;
    case SQLITE_CANTOPEN: return denied ? ERROR_ACCESS_DENIED : ERROR_CANTOPEN;
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH: return ERROR_ACCESS_DENIED;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return ERROR_BUSY;
    case SQLITE_FULL: return ERROR_DISK_FULL;
    case SQLITE_NOMEM: return ERROR_OUTOFMEMORY;
    case SQLITE_IOERR: return denied ? ERROR_ACCESS_DENIED : ERROR_REGISTRY_IO_FAILED;
    default: return ERROR_REGISTRY_IO_FAILED;
    }
}

Query Hive::Prepare(const char* sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return Query(*this, found->second, ERROR_SUCCESS);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return Query(*this, nullptr, ErrorFrom(rc));
    }
    statements_.emplace(sql, stmt);
    return Query(*this, stmt, ERROR_SUCCESS);
}

LONG Hive::Exec(const char* sql) { return Prepare(sql).Run(); }

LONG Hive::ExecText(const std::string& sql) { return ErrorFrom(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr)); }

LONG Hive::Ensure() {
    if (db_ && pid_ != getpid()) {
        // A forked child shares the parent's file descriptors and locks; it
        // must neither use nor close that connection, so it is left alone
        // and the child opens its own.
        db_ = nullptr;
        statements_.clear();
        depth_ = 0;
        transactionError_ = ERROR_SUCCESS;
    }
    if (db_ && depth_ == 0 && !inMemory_ && path_ != FilePath()) Close();
    if (db_) return ERROR_SUCCESS;
    return Open();
}

void Hive::KeepInMemory() {
    if (inMemory_) return;
    Close();
    depth_ = 0;
    transactionError_ = ERROR_SUCCESS;
    inMemory_ = true;
}

void Hive::Close() {
    for (auto& entry : statements_) sqlite3_finalize(entry.second);
    statements_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    classesKey_ = 0;
}

LONG Hive::Open() {
    if (inMemory_) {
        path_ = ":memory:";
    } else {
        path_ = FilePath();
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
        if (ec) return ec == std::errc::permission_denied ? ERROR_ACCESS_DENIED : ERROR_CANTOPEN;
    }

    int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    LONG error = ErrorFrom(rc);
    if (error == ERROR_SUCCESS) {
        pid_ = getpid();
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        error = Setup();
    }
    if (error != ERROR_SUCCESS) Close();
    return error;
}

LONG Hive::Setup() {
    // Look before touching anything: a file that is not a hive is never
    // written, not even its journal mode.
    LONG error = ERROR_SUCCESS;
    HiveFormat format = ReadFormat(*this, error);
    if (error != ERROR_SUCCESS) return error;
    if (format == HiveFormat::kForeign) return ERROR_BADDB;

    // WAL: readers never block the writer, and a killed process loses only
    // the change it was making.  NORMAL synchronisation keeps every commit
    // across a process kill; only a power loss can take the last ones.
    error = Exec("PRAGMA journal_mode=WAL");
    if (error == ERROR_SUCCESS) error = Exec("PRAGMA synchronous=NORMAL");
    if (error != ERROR_SUCCESS) return error;

    if (format == HiveFormat::kEmpty) {
        error = Atomic(true, [&] {
            // Another process may have made it a hive since the first look.
            LONG inner = ERROR_SUCCESS;
            HiveFormat again = ReadFormat(*this, inner);
            if (inner != ERROR_SUCCESS) return inner;
            if (again == HiveFormat::kEmpty) return CreateHive(*this, index_ == kUserHive);
            return again == HiveFormat::kHive ? ERROR_SUCCESS : static_cast<LONG>(ERROR_BADDB);
        });
        if (error != ERROR_SUCCESS) return error;
    }

    if (index_ == kMachineHive) {
        error = Atomic(false, [&] { return FindClassesKey(*this, classesKey_); });
        if (error == ERROR_FILE_NOT_FOUND)
            error = Atomic(true, [&] { return MakeClassesKey(*this, classesKey_); });
    }
    return error;
}

void Hive::CheckStillInTransaction(LONG error) {
    if (depth_ > 0 && transactionError_ == ERROR_SUCCESS && sqlite3_get_autocommit(db_))
        transactionError_ = error == ERROR_SUCCESS ? ERROR_REGISTRY_IO_FAILED : error;
}

LONG Hive::Atomic(bool write, const std::function<LONG()>& work) {
    if (depth_ > 0) {
        if (transactionError_ != ERROR_SUCCESS) return transactionError_;
        if (!write) {
            // A read inside the caller's transaction has nothing to undo.
            LONG result = work();
            if (result != ERROR_SUCCESS) CheckStillInTransaction(result);
            return result;
        }
        LONG error = Exec("SAVEPOINT call");
        if (error != ERROR_SUCCESS) return error;
        LONG result = work();
        if (result != ERROR_SUCCESS) {
            Exec("ROLLBACK TO call");
            CheckStillInTransaction(result);
        }
        if (transactionError_ == ERROR_SUCCESS) Exec("RELEASE call");
        return result;
    }
    LONG error = Exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
    if (error != ERROR_SUCCESS) return error;
    LONG result = work();
    if (result == ERROR_SUCCESS) {
        result = Exec("COMMIT");
        if (result == ERROR_SUCCESS) return result;
    }
    if (!sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
    return result;
}

LONG Hive::Checkpoint() {
    LONG error = Ensure();
    if (error != ERROR_SUCCESS || depth_ > 0) return error;
    int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    // A busy reader only postpones the copy; the log itself is synced.
    return rc == SQLITE_BUSY ? ERROR_SUCCESS : ErrorFrom(rc);
}

LONG Hive::BeginTransaction(int& depth) {
    depth = ++depth_;
    if (depth_ == 1) {
        transactionError_ = Exec("BEGIN IMMEDIATE");
    } else if (transactionError_ == ERROR_SUCCESS) {
        transactionError_ = ExecText("SAVEPOINT tx" + std::to_string(depth_));
    }
    return transactionError_;
}

LONG Hive::CommitTransaction(int depth) {
    // A transaction begun before a fork belongs to the parent's connection.
    if (db_ && pid_ != getpid()) Ensure();
    if (depth != depth_) return ERROR_TRANSACTION_NOT_ACTIVE;
    LONG error = transactionError_;
    if (depth_ == 1) {
        if (error == ERROR_SUCCESS) error = Exec("COMMIT");
        if (!sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
        transactionError_ = ERROR_SUCCESS;
    } else if (error == ERROR_SUCCESS) {
        error = ExecText("RELEASE tx" + std::to_string(depth_));
        transactionError_ = error;
    }
    --depth_;
    return error;
}

void Hive::RollbackTransaction(int depth) {
    if (db_ && pid_ != getpid()) Ensure();
    if (depth != depth_) return;
    if (depth_ == 1) {
        if (db_ && !sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
        transactionError_ = ERROR_SUCCESS;
    } else if (transactionError_ == ERROR_SUCCESS) {
        std::string name = "tx" + std::to_string(depth_);
        ExecText("ROLLBACK TO " + name);
        ExecText("RELEASE " + name);
    }
    --depth_;
}

}  // namespace platform::registry
