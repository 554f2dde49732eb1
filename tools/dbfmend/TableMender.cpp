// The steps of one table's check and repair: open and lock the table, settle format and
// block size, run the library's check, save, repair, check again.
#include "TableMender.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "ByteOrder.h"
#include "Companions.h"
#include "FolderWalk.h"
#include "ToolPlatform.h"
#include "UndoFile.h"

namespace mend {
namespace {

// The table's head is read once in the piece the library reads it in.
const uint32_t kHeadReadSize = 4096;
// The block size checked against when the memo cannot be read (its check then fails).
const uint16_t kFallbackBlockSize = 64;

// A file held open for the whole of one table's run, its head read once: reads that
// lie within the head are answered from it (a head that came back short ends where
// the file did), and a write or Forget() drops it.
class HeldFile {
public:
    explicit HeldFile(std::unique_ptr<dbf::TableFile> file) : file_(std::move(file)) {}
    dbf::TableFile& file() { return *file_; }
    const uint8_t* head() const { return head_; }
    uint32_t headSize() const { return have_; }
    // Reads up to kHeadReadSize bytes; only what the read delivered is ever used.
    void ReadHead(uint32_t count)
    {
        count = std::min(count, kHeadReadSize);
        have_ = file_->ReadAt(0, head_, count);
        ended_ = have_ > 0 && have_ < count;
    }
    void Forget()
    {
        have_ = 0;
        ended_ = false;
    }
    uint32_t ReadAt(uint64_t offset, uint8_t* buffer, uint32_t count)
    {
        uint64_t have = have_;
        if (offset + count <= have || (ended_ && offset <= have)) {
            uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(count, have - offset));
            if (n > 0)
                std::memcpy(buffer, head_ + offset, n);
            return n;
        }
        return file_->ReadAt(offset, buffer, count);
    }
    uint32_t WriteAt(uint64_t offset, const uint8_t* buffer, uint32_t count)
    {
        Forget();
        return file_->WriteAt(offset, buffer, count);
    }
    bool Flush() { return file_->Flush(); }
    // Closes the file for real (ending its lock); nothing may be used afterwards.
    bool Close() { return file_->Close(); }

private:
    std::unique_ptr<dbf::TableFile> file_;
    uint8_t head_[kHeadReadSize];
    uint32_t have_ = 0;
    bool ended_ = false;
};

// A held file as the library sees it when it opens it. Its lock attempt on the table
// succeeds, since the run holds the table's lock byte already.
class BorrowedFile : public dbf::TableFile {
public:
    explicit BorrowedFile(HeldFile& held) : held_(held) {}
    bool LockByte(uint32_t) override { return true; }
    uint32_t ReadAt(uint64_t offset, uint8_t* buffer, uint32_t count) override
    {
        return held_.ReadAt(offset, buffer, count);
    }
    uint32_t WriteAt(uint64_t offset, const uint8_t* buffer, uint32_t count) override
    {
        return held_.WriteAt(offset, buffer, count);
    }
    bool Size(uint64_t* size) override { return held_.file().Size(size); }
    // A repair's write reaches the disk through the held file itself, so its failure
    // is the library's write failure.
    bool Flush() override { return held_.Flush(); }
    // The library's close ends only this view: the run keeps the file and its lock
    // until its last check, and closes it then with the result checked.
    bool Close() override { return true; }

private:
    HeldFile& held_;
};

// The folder part of a path as given, with its separator ("C:" for "C:name"): the
// part a listed name is put after.
std::string FolderPrefix(const std::string& path)
{
    size_t cut = path.find_last_of("/\\");
    if (cut != std::string::npos)
        return path.substr(0, cut + 1);
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

// The files as the library sees them during one table's run: the held table and memo
// handed out again, the companion search made once for the run and the library alike,
// and answered from the folder's listing when the walk made one.
class HeldFiles : public dbf::FileSystem {
public:
    HeldFiles(dbf::FileSystem& base, std::string folder, const WalkItem* listed)
        : base_(base), folder_(std::move(folder)), listed_(listed)
    {
    }
    // Hands file out for path (which must outlive the run) until the run ends.
    void Hold(const std::string& path, HeldFile* file)
    {
        held_[heldCount_++] = std::make_pair(std::string_view(path), file);
    }
    std::unique_ptr<dbf::TableFile> OpenExisting(const std::string& path) override
    {
        for (size_t i = 0; i < heldCount_; ++i) {
            if (held_[i].first == path)
                return std::make_unique<BorrowedFile>(*held_[i].second);
        }
        return base_.OpenExisting(path);
    }
    // Makes the companion search for the run, which the library's search then meets.
    const std::vector<std::string>& Search(std::vector<std::string> paths)
    {
        if (!FindListed(paths, &hits_))
            base_.ExistAll(paths, &hits_);
        searched_ = std::move(paths);
        return hits_;
    }
    bool Exists(const std::string& path, std::string* found) override
    {
        return base_.Exists(path, found);
    }
    void ExistAll(const std::vector<std::string>& paths, std::vector<std::string>* found) override
    {
        if (paths != searched_)
            Search(paths);
        *found = hits_;
    }
    void Pause(unsigned milliseconds) override { base_.Pause(milliseconds); }

private:
    // Answers from the listing when every path lies in the listed folder and has an
    // extension the listing kept.
    bool FindListed(const std::vector<std::string>& paths, std::vector<std::string>* hits) const
    {
        if (!listed_)
            return false;
        for (const std::string& path : paths) {
            if (path.compare(0, folder_.size(), folder_) != 0 ||
                path.find_first_of("/\\", folder_.size()) != std::string::npos ||
                !listed_->folderNames->Holds(path.data() + folder_.size(),
                                             path.size() - folder_.size()))
                return false;
        }
        hits->assign(paths.size(), std::string());
        for (size_t i = 0; i < paths.size(); ++i) {
            const std::string& path = paths[i];
            size_t at = folder_.size();
            if (const std::string* listed =
                    listed_->folderNames->Find(path.data() + at, path.size() - at))
                (*hits)[i] = folder_ + *listed;
        }
        return true;
    }

    dbf::FileSystem& base_;
    std::string folder_;  // the table's folder as its path gives it, with the separator
    const WalkItem* listed_;
    std::pair<std::string_view, HeldFile*> held_[2];  // the table and its memo
    size_t heldCount_ = 0;
    std::vector<std::string> searched_;
    std::vector<std::string> hits_;
};

std::string BareName(const std::string& path)
{
    dbf::PathParts parts = dbf::SplitPath(path);
    return parts.baseName + parts.extension;
}

// The memo beside the table, searched for together with the index as the library
// does, so that the library's own search is answered by this one.
std::string MemoPathOf(HeldFiles& files, const std::string& path)
{
    dbf::PathParts parts = dbf::SplitPath(path);
    dbf::CompanionKinds kinds = dbf::LookUpCompanions(parts.extension);
    if (kinds.memoExtension.empty())
        return std::string();
    std::string stem = dbf::StemOf(parts);
    std::vector<std::string> paths;
    paths.reserve(2);
    paths.push_back(stem + kinds.memoExtension);
    if (!kinds.indexExtension.empty())
        paths.push_back(stem + kinds.indexExtension);
    return files.Search(std::move(paths))[0];
}

// The format a type byte belongs to; false for a byte of neither.
bool FormatOfType(uint8_t type, bool* visualFoxPro)
{
    switch (type) {
        case 0x30:
        case 0x31:
        case 0x32:
            *visualFoxPro = true;
            return true;
        case dbf::kTypeFoxPro:
        case dbf::kTypeFoxProMemo:
            *visualFoxPro = false;
            return true;
        default:
            return false;
    }
}

std::string Hex(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

void Fail(TableOutcome* out, int32_t code)
{
    out->resultKnown = true;
    out->result = code;
    out->status = Status::kFailed;
}

// What a header read that came back short met: a table or memo shorter than its header.
std::string ShortHeadReason(const HeldFile& table, const HeldFile* memo)
{
    if (table.headSize() < dbf::kTableHeaderSize)
        return "the table has " + std::to_string(table.headSize()) + " bytes";
    if (memo && memo->headSize() < dbf::kMemoHeaderSize)
        return "the memo has " + std::to_string(memo->headSize()) + " bytes";
    return std::string();
}

// Settles format and block size from the held table's head and the memo's; false
// (with out->error) when the table is skipped. The memo is held when it can be opened;
// when it cannot, the library's own opening of it fails and says why.
bool SettleFormat(HeldFiles& files, HeldFile& table, std::unique_ptr<HeldFile>* memo,
                  const MendSettings& settings, TableOutcome* out)
{
    table.ReadHead(kHeadReadSize);
    const uint8_t* head = table.head();
    if (settings.format != Format::kAuto)
        out->visualFoxPro = settings.format == Format::kVisualFoxPro;
    else if (table.headSize() >= dbf::kTableHeaderSize &&
             !FormatOfType(head[0], &out->visualFoxPro)) {
        out->error = "type byte " + Hex(head[0]) +
                     " is of neither format; give --format vfp or --format fox2";
        return false;
    }
    out->formatSettled = true;
    out->memoPath = MemoPathOf(files, out->path);
    if (out->memoPath.empty())
        return true;
    out->blockSize = settings.blockSize ? settings.blockSize : kFallbackBlockSize;
    std::unique_ptr<dbf::TableFile> opened = files.OpenExisting(out->memoPath);
    if (!opened)
        return true;
    *memo = std::make_unique<HeldFile>(std::move(opened));
    (*memo)->ReadHead(dbf::kMemoHeaderSize);
    files.Hold(out->memoPath, memo->get());
    if (settings.blockSize || (*memo)->headSize() < dbf::kMemoHeaderSize)
        return true;
    // The memo's stored block size is the expected one.
    uint16_t stored = dbf::ReadBe16((*memo)->head() + dbf::kBlockSizeOffset);
    if (stored == 0 || stored > kLargestBlockSize) {
        out->error = "the memo's stored block size " + std::to_string(stored) +
                     " is impossible; give --block-size N";
        return false;
    }
    out->blockSize = stored;
    return true;
}

// Saves what the repair overwrites beside the table, read afresh; false with
// out->error.
bool SaveUndo(HeldFile& table, HeldFile* memo, TableOutcome* out)
{
    UndoRecord record;
    record.table.name = BareName(out->path);
    FileFacts facts;
    std::string reason;
    table.ReadHead(dbf::kTableHeaderSize);
    record.table.head.assign(table.head(), table.head() + table.headSize());
    bool ok =
        record.table.head.size() == dbf::kTableHeaderSize && table.file().Size(&record.table.size);
    if (ok && GetFileFacts(out->path, &facts, &reason))
        record.table.modified = facts.modified;
    if (ok && memo) {
        record.hasMemo = true;
        record.memo.name = BareName(out->memoPath);
        memo->ReadHead(dbf::kMemoHeaderSize);
        record.memo.head.assign(memo->head(), memo->head() + memo->headSize());
        ok =
            record.memo.head.size() == dbf::kMemoHeaderSize && memo->file().Size(&record.memo.size);
        if (ok && GetFileFacts(out->memoPath, &facts, &reason))
            record.memo.modified = facts.modified;
    }
    // The repair reads what it keeps afresh too.
    table.Forget();
    if (memo)
        memo->Forget();
    if (!ok) {
        out->error = "the bytes to save could not be read again; nothing written";
        return false;
    }
    out->backupPath = out->path + kUndoSuffix;
    if (!WriteWholeFile(out->backupPath, WriteUndoFile(record), &reason)) {
        out->error = "backup " + out->backupPath + " not written (" + reason + "); nothing written";
        out->backupPath.clear();
        return false;
    }
    return true;
}

void AddChange(std::vector<FieldChange>* changes, const char* field, uint32_t before,
               uint32_t after)
{
    if (before != after)
        changes->push_back(FieldChange{field, before, after});
}

}  // namespace

const int kLockAttempts = 6;  // as the library: at once, again at once, then 2 ms apart
const unsigned kLockPauseMs = 2;

bool LockTable(dbf::FileSystem& files, dbf::TableFile& table)
{
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (attempt >= 2)
            files.Pause(kLockPauseMs);
        if (table.LockByte(dbf::kLockOffset))
            return true;
    }
    return false;
}

int32_t LibraryBlockArgument(uint16_t bytes)
{
    return 0x10000 + bytes;
}

std::vector<FieldChange> ChangesOf(const dbf::HeaderReport& r, bool hasMemo)
{
    using dbf::ReadLe16;
    using dbf::ReadLe32;
    const uint8_t* s = r.tableHeader;
    const uint8_t* c = r.calcHeader;
    std::vector<FieldChange> changes;
    AddChange(&changes, "DBF ID Byte", s[dbf::kTypeOffset], c[dbf::kTypeOffset]);
    AddChange(&changes, "Header Length", ReadLe16(s + dbf::kHeaderLengthOffset),
              ReadLe16(c + dbf::kHeaderLengthOffset));
    AddChange(&changes, "Record Count", ReadLe32(s + dbf::kRecordCountOffset),
              ReadLe32(c + dbf::kRecordCountOffset));
    AddChange(&changes, "Record Length", ReadLe16(s + dbf::kRecordLengthOffset),
              ReadLe16(c + dbf::kRecordLengthOffset));
    AddChange(&changes, "DBF Flags", s[dbf::kFlagsOffset], c[dbf::kFlagsOffset]);
    if (hasMemo) {
        AddChange(&changes, "FPT NextBlock", ReadLe32(r.memoHeader + dbf::kNextBlockOffset),
                  ReadLe32(r.calcMemoHeader + dbf::kNextBlockOffset));
        AddChange(&changes, "FPT BlockSize", ReadLe16(r.memoHeader + dbf::kBlockSizeOffset),
                  ReadLe16(r.calcMemoHeader + dbf::kBlockSizeOffset));
    }
    return changes;
}

TableOutcome MendTable(dbf::FileSystem& files, const std::string& path,
                       const MendSettings& settings, const WalkItem* listed)
{
    TableOutcome out;
    out.path = path;
    std::unique_ptr<dbf::TableFile> opened = files.OpenExisting(path);
    if (!opened) {
        Fail(&out, dbf::kOpenFailed);
        out.error = OpenFailureReason(path);
        return out;
    }
    if (!LockTable(files, *opened)) {
        Fail(&out, dbf::kLockFailed);
        return out;
    }
    HeldFile table(std::move(opened));
    HeldFiles held(files, listed ? FolderPrefix(path) : std::string(), listed);
    held.Hold(path, &table);
    std::unique_ptr<HeldFile> memo;
    if (!SettleFormat(held, table, &memo, settings, &out))
        return out;
    int32_t block = LibraryBlockArgument(out.blockSize ? out.blockSize : kFallbackBlockSize);
    int32_t result = dbf::checkTableHeader(held, path.c_str(), dbf::kModeReport, block, &out.report,
                                           out.visualFoxPro);
    out.resultKnown = true;
    out.result = result;
    if (result < 0) {
        out.status = Status::kFailed;
        out.error = result == dbf::kOpenFailed && !out.memoPath.empty()
                        ? "memo " + out.memoPath + ": " + OpenFailureReason(out.memoPath)
                        : ShortHeadReason(table, memo.get());
        return out;
    }
    out.checked = true;
    out.findings = result;
    out.status = result == 0 ? Status::kSound : Status::kFindings;
    if (!settings.repair || result == 0)
        return out;
    out.changes = ChangesOf(out.report, !out.memoPath.empty());
    if (settings.dryRun) {
        out.status = Status::kWouldRepair;
        return out;
    }
    table.Forget();
    if (memo)
        memo->Forget();
    if (settings.backup && !SaveUndo(table, memo.get(), &out)) {
        out.status = Status::kFailed;
        return out;
    }
    result = dbf::checkTableHeader(held, path.c_str(), dbf::kModeRepair, block, nullptr,
                                   out.visualFoxPro);
    if (result == 0)
        result = dbf::checkTableHeader(held, path.c_str(), 0, block, nullptr, out.visualFoxPro);
    out.result = result;
    if (result != 0) {
        out.status = Status::kFailed;
        if (result > 0)
            out.error = "findings remain after the repair";
        return out;
    }
    // The repair counts only once the files it wrote are closed without failure.
    bool closed = !memo || memo->Close();
    if (!table.Close() || !closed) {
        Fail(&out, dbf::kWriteFailed);
        out.error = "closing the repaired files failed; the repair may be lost";
        return out;
    }
    out.status = Status::kRepaired;
    return out;
}

}  // namespace mend
