// The packed asset store: reads (and, for the packer, writes) the data file and its pointer list.
#include "engine/database.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sys/stat.h>

static_assert(sizeof(Database::Key) == DatabaseFormat::kEntrySize, "pointer list entries are 268 raw bytes");

namespace {

char last_error[512];

// The files are little-endian whatever the machine, so fields are packed by hand.
void PutLE32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

uint32_t GetLE32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// Size of an open file, or -1; the position is put back at the start.
long FileSize(FILE* f)
{
    if (std::fseek(f, 0, SEEK_END) != 0)
        return -1;
    long size = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0)
        return -1;
    return size;
}

// Size of a regular file by name, without opening it; -1 when there is none.
long FileSize(const char* path)
{
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<long>(st.st_size);
}

const char* Safe(const char* key) { return key ? key : ""; }

} // namespace

Database::Key::Key() : adress(0), size(0) { std::memset(label, 0, sizeof(label)); }

Database::Key::Key(const char* label_) : Key()
{
    if (label_)
        std::strncpy(label, label_, sizeof(label) - 1);
}

Database::Database(const char* path, bool writable_)
    : force_autosync(true), writable(writable_), data_file(nullptr), data_file_size(-1)
{
    std::memset(db_name, 0, sizeof(db_name));
    std::memset(db_location, 0, sizeof(db_location));
    std::memset(pl_location, 0, sizeof(pl_location));
    const char* base = Safe(path);
    // A cut name would open some other file, so a missing or over-long base
    // path leaves the store empty and touches nothing on disk.
    if (base[0] == '\0' || std::strlen(base) > sizeof(db_name) - 4) {
        std::snprintf(db_name, sizeof(db_name), "%s", base);
        PrintError("[construct] no usable base path (%s)", db_name);
        db_name[0] = '\0';
        return;
    }
    std::snprintf(db_location, sizeof(db_location), "%s.db", base);
    std::snprintf(pl_location, sizeof(pl_location), "%s.pl", base);
    std::snprintf(db_name, sizeof(db_name), "%s", base);

    if (FileSize(db_location) < 0) {
        // The game only reads: a store that is not there is an empty one, and
        // nothing is made in its place (an empty list written over a pointer
        // list whose data file went missing would lose every record for good).
        if (!writable) {
            PrintError("[construct] no database (%s)", db_location);
            return;
        }
        FILE* f = std::fopen(db_location, "wb");
        if (!f)
            PrintError("[construct] fail to create database (%s)", db_location);
        else
            std::fclose(f);
        Synchronize();
    } else if (!ReadPList()) {
        PrintError("[construct] fail to open pointers list (%s)", pl_location);
    }
}

Database::~Database()
{
    CloseData();
    if (!force_autosync)
        Synchronize();
}

bool Database::FileExist(const char* path)
{
    if (!path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

const char* Database::LastError() { return last_error; }

void Database::PrintError(const char* fmt, ...)
{
    if (!fmt)
        return;
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(last_error, sizeof(last_error), fmt, args);
    va_end(args);
}

bool Database::ReadPList()
{
    records.clear();
    if (pl_location[0] == '\0')
        return false;
    FILE* f = std::fopen(pl_location, "rb");
    if (!f)
        return false;
    long file_size = FileSize(f);
    unsigned char head[DatabaseFormat::kCountSize];
    if (file_size < DatabaseFormat::kCountSize || std::fread(head, 1, sizeof(head), f) != sizeof(head)) {
        std::fclose(f);
        return false;
    }
    int32_t count = static_cast<int32_t>(GetLE32(head));
    // Trust the file's length over its count: only whole entries actually present are read.
    long whole = (file_size - DatabaseFormat::kCountSize) / DatabaseFormat::kEntrySize;
    long n = count < 0 ? 0 : (count < whole ? count : whole);
    records.reserve(static_cast<size_t>(n));
    unsigned char raw[DatabaseFormat::kEntrySize];
    for (long i = 0; i < n; ++i) {
        if (std::fread(raw, 1, sizeof(raw), f) != sizeof(raw))
            break;
        Key k;
        std::memcpy(k.label, raw, DatabaseFormat::kLabelSize);
        k.label[DatabaseFormat::kLabelSize - 1] = '\0';
        k.adress = static_cast<int32_t>(GetLE32(raw + DatabaseFormat::kLabelSize));
        k.size = GetLE32(raw + DatabaseFormat::kLabelSize + 4);
        records.push_back(k);
    }
    std::fclose(f);
    return true;
}

bool Database::Synchronize()
{
    FILE* f = writable && pl_location[0] ? std::fopen(pl_location, "wb") : nullptr;
    if (!f) {
        PrintError("[synchronizing] fail to update pointers list (%s)", pl_location);
        return false;
    }
    unsigned char head[DatabaseFormat::kCountSize];
    PutLE32(head, static_cast<uint32_t>(records.size()));
    bool ok = std::fwrite(head, 1, sizeof(head), f) == sizeof(head);
    unsigned char raw[DatabaseFormat::kEntrySize];
    for (size_t i = 0; ok && i < records.size(); ++i) {
        std::memcpy(raw, records[i].label, DatabaseFormat::kLabelSize);
        PutLE32(raw + DatabaseFormat::kLabelSize, static_cast<uint32_t>(records[i].adress));
        PutLE32(raw + DatabaseFormat::kLabelSize + 4, records[i].size);
        ok = std::fwrite(raw, 1, sizeof(raw), f) == sizeof(raw);
    }
    if (std::fclose(f) != 0)
        ok = false;
    if (!ok)
        PrintError("[synchronizing] fail to update pointers list (%s)", pl_location);
    return ok;
}

int Database::GetKeyID(const char* key)
{
    if (!key)
        return -1;
    for (size_t i = 0; i < records.size(); ++i)
        if (std::strcmp(records[i].label, key) == 0)
            return static_cast<int>(i);
    return -1;
}

bool Database::IsKey(const char* key) { return GetKeyID(key) >= 0; }

bool Database::ValidateKey(const char* key, unsigned s, unsigned* ss)
{
    int id = GetKeyID(key);
    if (id < 0)
        return false;
    if (ss)
        *ss = records[id].size;
    return records[id].size == s;
}

const Database::Key* Database::FindReadable(const char* key, unsigned size, const void* data)
{
    const char* k = Safe(key);
    if (!data) {
        PrintError("[reading] key '%s' pointer is NULL", k);
        return nullptr;
    }
    if (size == 0) {
        PrintError("[reading] key '%s' has invalid size (%d bytes)", k, static_cast<int>(size));
        return nullptr;
    }
    if (strnlen(k, DatabaseFormat::kLabelSize + 1) > static_cast<size_t>(DatabaseFormat::kLabelSize)) {
        PrintError("[reading] key '%s' is too long (max %d chars)", k, DatabaseFormat::kLabelSize);
        return nullptr;
    }
    if (!IsKey(k)) {
        PrintError("[reading] key '%s' doesn't exist in database", k);
        return nullptr;
    }
    unsigned stored = 0;
    if (!ValidateKey(k, size, &stored)) {
        PrintError("[reading] key '%s' size doesn't match: obj(%d bytes) db(%d bytes)", k, static_cast<int>(size),
                   static_cast<int>(stored));
        return nullptr;
    }
    // The pointer list is no proof: the record must lie wholly inside the data
    // file, checked before anyone makes a buffer for it.
    const Key& rec = records[GetKeyID(k)];
    long file_size = data_file ? data_file_size : FileSize(db_location);
    if (file_size < 0) {
        PrintError("[reading] fail to open database (%s)", db_location);
        return nullptr;
    }
    long long end = static_cast<long long>(rec.adress) + rec.size;
    if (rec.adress < 0 || end > file_size) {
        PrintError("[reading] key '%s' lies outside the database (%s)", k, db_location);
        return nullptr;
    }
    return &rec;
}

bool Database::CanRead(const char* key, unsigned size)
{
    const char any = 0;
    return FindReadable(key, size, &any) != nullptr;
}

bool Database::OpenData()
{
    if (data_file)
        return true;
    data_file = db_location[0] ? std::fopen(db_location, "rb") : nullptr;
    data_file_size = data_file ? FileSize(data_file) : -1;
    if (data_file && data_file_size < 0)
        CloseData();
    return data_file != nullptr;
}

void Database::CloseData()
{
    if (data_file)
        std::fclose(data_file);
    data_file = nullptr;
    data_file_size = -1;
}

bool Database::Read(const char* key, unsigned size, void* data)
{
    const Key* rec = FindReadable(key, size, data);
    if (!rec)
        return false;
    FILE* f = data_file ? data_file : std::fopen(db_location, "rb");
    if (!f) {
        PrintError("[reading] fail to open database (%s)", db_location);
        return false;
    }
    // Straight into the caller's buffer: the record's place was checked against
    // the file, so only a file cut while we read can make this come up short.
    bool ok = std::fseek(f, rec->adress, SEEK_SET) == 0 && std::fread(data, 1, size, f) == size;
    if (f != data_file)
        std::fclose(f);
    if (!ok)
        PrintError("[reading] key '%s' could not be read whole (%s)", Safe(key), db_location);
    return ok;
}

bool Database::Write(const char* key, unsigned size, const void* data)
{
    const char* k = Safe(key);
    if (!data || size == 0) {
        PrintError("[writing] key '%s' has no data", k);
        return false;
    }
    if (k[0] == '\0' || strnlen(k, DatabaseFormat::kLabelSize) >= static_cast<size_t>(DatabaseFormat::kLabelSize)) {
        PrintError("[writing] key '%s' is empty or too long (max %d chars)", k, DatabaseFormat::kLabelSize - 1);
        return false;
    }
    FILE* f = writable && db_location[0] ? std::fopen(db_location, "ab") : nullptr;
    if (!f) {
        PrintError("[writing] fail to open database (%s)", db_location);
        return false;
    }
    long start = -1;
    if (std::fseek(f, 0, SEEK_END) == 0)
        start = std::ftell(f);
    // Offsets are signed 32-bit in the pointer list.
    if (start < 0 || static_cast<long long>(start) + size > std::numeric_limits<int32_t>::max()) {
        std::fclose(f);
        PrintError("[writing] key '%s' does not fit in the database (%s)", k, db_location);
        return false;
    }
    bool ok = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0)
        ok = false;
    if (!ok) {
        PrintError("[writing] fail to write key '%s' (%s)", k, db_location);
        return false;
    }
    Key rec(k);
    rec.adress = static_cast<int32_t>(start);
    rec.size = size;
    records.push_back(rec);
    return force_autosync ? Synchronize() : true;
}

void Database::SetAutosync(bool on) { force_autosync = on; }

bool Database::Reset()
{
    if (!writable) {
        PrintError("[reset] the database is open read-only (%s)", db_location);
        return false;
    }
    CloseData();
    records.clear();
    FILE* f = db_location[0] ? std::fopen(db_location, "wb") : nullptr;
    if (!f) {
        PrintError("[reset] fail to empty database (%s)", db_location);
        return false;
    }
    std::fclose(f);
    return Synchronize();
}
