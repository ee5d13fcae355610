#pragma once
// One hive file and this process's connection to it.  Every call on a hive
// holds its lock (recursive, so a transaction can hold it for its thread
// while the calls inside take it again).  The connection opens on first use,
// again after a failure (the file may have been repaired) and again in a
// forked child, which must never use its parent's connection.
#include <sqlite3.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/types.h"

namespace platform::registry {

enum HiveIndex { kUserHive = 0, kMachineHive = 1, kHiveCount = 2 };

// Every hive's top key has this id.
constexpr std::int64_t kRootKeyId = 1;

class Hive;

// A cached prepared statement, reset when the object goes away.
class Query {
public:
    // A null statement failed to prepare: it yields no rows and the error.
    Query(Hive& hive, sqlite3_stmt* stmt, LONG error) : hive_(hive), stmt_(stmt), error_(error) {}
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Bind(int index, std::int64_t value);
    Query& Bind(int index, std::string_view text);
    Query& BindBlob(int index, const void* data, std::size_t size);

    // True while a row is available; the first error is kept in error().
    bool Next();
    // Runs a statement that returns no rows; ERROR_SUCCESS or the error.
    LONG Run();
    LONG error() const { return error_; }

    std::int64_t Int(int column) const;
    std::string Text(int column) const;

private:
    Hive& hive_;
    sqlite3_stmt* stmt_;
    LONG error_;
};

class Hive {
public:
    static Hive& Get(int index);

    std::recursive_mutex& mutex() { return mutex_; }

    // With the lock held: opens the connection and makes the file a hive if
    // it is new.  ERROR_SUCCESS or the Win32 error that stops every call.
    LONG Ensure();

    // With the lock held, after Ensure: runs work as one atomic change (its
    // own transaction, or a savepoint inside an open transaction).  A failed
    // work leaves nothing; a write waits for a busy hive up to the timeout.
    LONG Atomic(bool write, const std::function<LONG()>& work);

    // Explicit transactions of this thread (the caller holds the lock for
    // the transaction's life).  depth is the nesting level begun.
    LONG BeginTransaction(int& depth);
    LONG CommitTransaction(int depth);
    void RollbackTransaction(int depth);

    // Moves committed changes from the log into the hive file and syncs
    // both, so they survive a power loss too.  Nothing to do inside an
    // explicit transaction: its commit comes later.
    LONG Checkpoint();

    // A prepared statement of this connection (SQL text is a literal).
    Query Prepare(const char* sql);
    LONG ErrorFrom(int rc) const;
    std::int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
    int Changes() const { return sqlite3_changes(db_); }

    // The id of Software\Classes in the machine hive (HKEY_CLASSES_ROOT).
    std::int64_t classesKey() const { return classesKey_; }

    // The file this hive lives in under the current platform root.
    std::string FilePath() const;

    // With the lock held: drops the file's connection; from now on the hive
    // is a new one in memory, for the life of the process.
    void KeepInMemory();

private:
    explicit Hive(int index) : index_(index) {}
    LONG Open();
    void Close();
    LONG Exec(const char* sql);  // a literal: prepared once
    LONG ExecText(const std::string& sql);
    LONG Setup();
    // Notices a transaction that SQLite rolled back by itself (disk full,
    // I/O error), so its commit reports the failure.
    void CheckStillInTransaction(LONG error);

    const int index_;
    std::recursive_mutex mutex_;
    sqlite3* db_ = nullptr;
    pid_t pid_ = 0;
    std::string path_;
    std::unordered_map<const char*, sqlite3_stmt*> statements_;
    std::int64_t classesKey_ = 0;
    int depth_ = 0;                     // explicit transaction nesting
    LONG transactionError_ = ERROR_SUCCESS;  // the open transaction failed
    bool inMemory_ = false;
};

}  // namespace platform::registry
