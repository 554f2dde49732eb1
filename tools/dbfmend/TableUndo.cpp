// An undo: the bytes an undo file saved written back into the table and memo beside it,
// or nothing written when either changed size since the backup.
#include <memory>

#include "Companions.h"
#include "TableMender.h"
#include "ToolPlatform.h"
#include "UndoFile.h"

namespace mend {
namespace {

std::string FolderOf(const std::string& path)
{
    dbf::PathParts parts = dbf::SplitPath(path);
    return parts.drive + parts.directory;
}

}  // namespace

UndoOutcome UndoFromBackup(dbf::FileSystem& files, const std::string& backupPath)
{
    UndoOutcome out;
    out.backupPath = backupPath;
    std::vector<uint8_t> bytes;
    UndoRecord record;
    if (!ReadSmallFile(backupPath, kUndoFileLimit, &bytes, &out.error) ||
        !ReadUndoFile(bytes.data(), bytes.size(), &record, &out.error))
        return out;
    std::string folder = FolderOf(backupPath);
    out.tablePath = folder + record.table.name;
    std::unique_ptr<dbf::TableFile> table = files.OpenExisting(out.tablePath);
    if (!table) {
        out.error = out.tablePath + " cannot be opened for writing (" +
                    OpenFailureReason(out.tablePath) + ")";
        return out;
    }
    if (!LockTable(files, *table)) {
        out.error = out.tablePath + " stays locked by another user";
        return out;
    }
    uint64_t size = 0;
    if (!table->Size(&size) || size != record.table.size) {
        out.error = out.tablePath + " changed size since the backup (" +
                    std::to_string(record.table.size) + " bytes then, " + std::to_string(size) +
                    " now)";
        return out;
    }
    std::unique_ptr<dbf::TableFile> memo;
    if (record.hasMemo) {
        out.memoPath = folder + record.memo.name;
        memo = files.OpenExisting(out.memoPath);
        if (!memo) {
            out.error = out.memoPath + " cannot be opened for writing (" +
                        OpenFailureReason(out.memoPath) + ")";
            return out;
        }
        if (!memo->Size(&size) || size != record.memo.size) {
            out.error = out.memoPath + " changed size since the backup (" +
                        std::to_string(record.memo.size) + " bytes then, " + std::to_string(size) +
                        " now)";
            return out;
        }
    }
    // The memo first, as the repair wrote it first.
    if (memo &&
        memo->WriteAt(0, record.memo.head.data(), dbf::kMemoHeaderSize) != dbf::kMemoHeaderSize) {
        out.error = "writing " + out.memoPath + " failed; the table is untouched";
        return out;
    }
    if (table->WriteAt(0, record.table.head.data(), dbf::kTableHeaderSize) !=
        dbf::kTableHeaderSize) {
        out.error = "writing " + out.tablePath + " failed" +
                    (memo ? "; the memo header is restored already" : "");
        return out;
    }
    // Restored only once both files reached the disk and closed without failure.
    bool durable = (!memo || memo->Flush()) && table->Flush();
    bool closed = !memo || memo->Close();
    if (!table->Close() || !closed || !durable) {
        out.error = "writing " + out.tablePath + (memo ? " and " + out.memoPath : "") +
                    " through to the disk failed; the bytes may not be restored";
        return out;
    }
    out.restored = true;
    return out;
}

}  // namespace mend
