// The packed asset store: one headerless data file plus a pointer list of
// (label, offset, size) entries. The game opens it read-only and reads textures
// from it; only the texture packer opens it for writing, through the same class,
// so both share one format.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// Pointer list layout: a 32-bit count, then fixed-size entries back to back.
namespace DatabaseFormat {
constexpr int kLabelSize = 260;
constexpr int kEntrySize = kLabelSize + 4 + 4;
constexpr int kCountSize = 4;
} // namespace DatabaseFormat

class Database {
public:
    struct Key {
        char label[DatabaseFormat::kLabelSize];
        int32_t adress;
        uint32_t size;

        Key();
        explicit Key(const char* label_);
    };

    // A read-only store never creates, truncates or rewrites a file: missing or
    // damaged files give an empty (or shorter) store in memory. A writable one
    // (the packer's) creates an empty store when none exists.
    explicit Database(const char* path, bool writable = false);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool Read(const char* key, unsigned size, void* data);
    // Whether Read(key, size, ...) would find a record of exactly this size lying
    // wholly inside the data file: asked before a buffer for it is made.
    bool CanRead(const char* key, unsigned size);
    // Keeps the data file open across reads until CloseData (the loading step
    // reads every picture in a row); otherwise each read opens it anew.
    bool OpenData();
    void CloseData();
    bool IsKey(const char* key);
    int GetKeyID(const char* key);
    bool ValidateKey(const char* key, unsigned s, unsigned* ss);
    bool ReadPList();
    bool Synchronize();
    static bool FileExist(const char* path);
    static void PrintError(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    // The last message handed to PrintError (nothing is ever shown; tests look here).
    static const char* LastError();

    // Writing side, used by the texture packer on a writable store: appends a
    // record to the data file and to the pointer list (rewritten now when
    // autosync is on, else on Synchronize() or destruction).
    bool Write(const char* key, unsigned size, const void* data);
    void SetAutosync(bool on);
    // Empties the store: both files truncated, no records.
    bool Reset();

    char db_name[260];
    char db_location[260];
    char pl_location[260];
    bool force_autosync;
    std::vector<Key> records;

private:
    // Checks 1 to 5 of a read and the record's place in the data file; the
    // record found, or null after reporting why not.
    const Key* FindReadable(const char* key, unsigned size, const void* data);
    bool writable;
    FILE* data_file;      // held open between OpenData and CloseData
    long data_file_size;  // its size when opened
};
