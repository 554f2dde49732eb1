// Text and JSON Lines output of dbfmend. The words are the library's own help text.
#include "MendReport.h"

#include <nlohmann/json.hpp>

#include "ByteOrder.h"
#include "ReportText.h"
#include "ToolPlatform.h"

namespace mend {
namespace {

// Keys in the order written, so that a line reads path first.
using json = nlohmann::ordered_json;

// Lines of the library's help text that carry the finding and error words.
const size_t kFirstFindingLine = 3;
const size_t kFindingTextColumn = 10;
const size_t kFirstErrorLine = 11;
const size_t kErrorTextColumn = 4;

const char* const kFindingNames[kFindingCount] = {
    "header_length", "record_length",   "record_count",   "type",
    "flags",         "memo_next_block", "memo_block_size"};

int BitIndex(int32_t bit)
{
    for (int i = 0; i < kFindingCount; ++i) {
        if (bit == (1 << i))
            return i;
    }
    return -1;
}

std::string HelpWords(size_t line, size_t column)
{
    std::string text = dbf::HelpText()[line].substr(column);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

const char* StatusName(Status status)
{
    switch (status) {
        case Status::kSound:
            return "sound";
        case Status::kFindings:
            return "findings";
        case Status::kWouldRepair:
            return "would_repair";
        case Status::kRepaired:
            return "repaired";
        case Status::kFailed:
            break;
    }
    return "failed";
}

std::string Meaning(const TableOutcome& o)
{
    if (!o.resultKnown)
        return o.error;
    if (o.result < 0)
        return ErrorText(o.result);
    if (o.result == 0)
        return "sound";
    std::string words;
    for (int i = 0; i < kFindingCount; ++i) {
        if (o.result & (1 << i))
            words += (words.empty() ? "" : "; ") + FindingText(1 << i);
    }
    return words;
}

int BitCount(int32_t mask)
{
    int n = 0;
    for (int i = 0; i < kFindingCount; ++i)
        n += (mask >> i) & 1;
    return n;
}

std::string Count(int n, const char* one)
{
    return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

json HeaderJson(const TableOutcome& o, const uint8_t* header, const uint8_t* memo)
{
    json h = {{"type", header[dbf::kTypeOffset]},
              {"header_length", dbf::ReadLe16(header + dbf::kHeaderLengthOffset)},
              {"record_count", dbf::ReadLe32(header + dbf::kRecordCountOffset)},
              {"record_length", dbf::ReadLe16(header + dbf::kRecordLengthOffset)},
              {"flags", header[dbf::kFlagsOffset]}};
    if (!o.memoPath.empty()) {
        h["memo_next_block"] = dbf::ReadLe32(memo + dbf::kNextBlockOffset);
        h["memo_block_size"] = dbf::ReadLe16(memo + dbf::kBlockSizeOffset);
    }
    return h;
}

json PathJson(const std::string& path)
{
    if (path.empty())
        return nullptr;
    return TextForJson(path);
}

std::string Dump(const json& object)
{
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

std::string FindingText(int32_t bit)
{
    int i = BitIndex(bit);
    return i < 0 ? std::string() : HelpWords(kFirstFindingLine + i, kFindingTextColumn);
}

std::string FindingName(int32_t bit)
{
    int i = BitIndex(bit);
    return i < 0 ? std::string() : kFindingNames[i];
}

std::string ErrorText(int32_t code)
{
    if (code > -1 || code < dbf::kPathTooLong)
        return "error " + std::to_string(code);
    return HelpWords(kFirstErrorLine + static_cast<size_t>(-code - 1), kErrorTextColumn);
}

void FindingValues(const TableOutcome& o, int32_t bit, uint32_t* stored, uint32_t* calculated)
{
    const dbf::HeaderReport& r = o.report;
    const uint8_t* sides[2] = {r.tableHeader, r.calcHeader};
    const uint8_t* memoSides[2] = {r.memoHeader, r.calcMemoHeader};
    uint32_t values[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        const uint8_t* h = sides[side];
        switch (bit) {
            case dbf::kBadHeaderLength:
                values[side] = dbf::ReadLe16(h + dbf::kHeaderLengthOffset);
                break;
            case dbf::kBadRecordLength:
                values[side] = dbf::ReadLe16(h + dbf::kRecordLengthOffset);
                break;
            case dbf::kBadRecordCount:
                values[side] = dbf::ReadLe32(h + dbf::kRecordCountOffset);
                break;
            case dbf::kBadType:
                values[side] = h[dbf::kTypeOffset];
                break;
            case dbf::kBadFlags:
                values[side] = h[dbf::kFlagsOffset];
                break;
            case dbf::kBadNextBlock:
                values[side] = dbf::ReadLe32(memoSides[side] + dbf::kNextBlockOffset);
                break;
            case dbf::kBadBlockSize:
                values[side] = dbf::ReadLe16(memoSides[side] + dbf::kBlockSizeOffset);
                break;
        }
    }
    *stored = values[0];
    *calculated = values[1];
}

void Tally::Add(Status status)
{
    ++tables;
    switch (status) {
        case Status::kSound:
            ++sound;
            break;
        case Status::kFindings:
            ++withFindings;
            break;
        case Status::kWouldRepair:
        case Status::kRepaired:
            ++withFindings;
            ++repaired;
            break;
        case Status::kFailed:
            ++failed;
            break;
    }
}

std::vector<std::string> TableText(const TableOutcome& o)
{
    std::string mask = o.checked && o.findings ? Count(BitCount(o.findings), "finding") +
                                                     " (mask " + std::to_string(o.findings) + ")"
                                               : std::string();
    std::string head = o.path + ": ";
    switch (o.status) {
        case Status::kSound:
            head += "sound";
            break;
        case Status::kFindings:
            head += mask;
            break;
        case Status::kWouldRepair:
            head += "would repair " + mask;
            break;
        case Status::kRepaired:
            head += "repaired " + mask +
                    (o.backupPath.empty() ? ", no backup" : ", backup " + o.backupPath);
            break;
        case Status::kFailed:
            head += "failed: ";
            // A library error code in its words, and behind it what the tool found.
            if (o.resultKnown && o.result < 0) {
                head += std::to_string(o.result) + " " + Meaning(o);
                if (!o.error.empty())
                    head += " (" + o.error + ")";
            } else {
                head += o.error;
            }
            break;
    }
    std::vector<std::string> lines{head};
    if (o.status == Status::kWouldRepair || o.status == Status::kRepaired) {
        for (const FieldChange& c : o.changes)
            lines.push_back("  " + c.field + ": " + std::to_string(c.before) + " -> " +
                            std::to_string(c.after));
    } else if (o.checked) {
        for (int i = 0; i < kFindingCount; ++i) {
            if (!(o.findings & (1 << i)))
                continue;
            uint32_t stored = 0, calculated = 0;
            FindingValues(o, 1 << i, &stored, &calculated);
            lines.push_back("  " + FindingText(1 << i) + ": stored " + std::to_string(stored) +
                            ", calculated " + std::to_string(calculated));
        }
    }
    return lines;
}

std::string TableJson(const TableOutcome& o, bool repair)
{
    json line = {
        {"type", "table"},
        {"path", PathJson(o.path)},
        {"memo", PathJson(o.memoPath)},
        {"format", o.formatSettled ? json(o.visualFoxPro ? "vfp" : "fox2") : json(nullptr)},
        {"block_size", o.blockSize ? json(o.blockSize) : json(nullptr)},
        {"status", StatusName(o.status)},
        {"result", o.resultKnown ? json(o.result) : json(nullptr)},
        {"meaning", TextForJson(Meaning(o))}};
    line["mask"] = o.checked ? json(o.findings) : json(nullptr);
    json names = json::array();
    for (int i = 0; i < kFindingCount; ++i) {
        if (o.checked && (o.findings & (1 << i)))
            names.push_back(kFindingNames[i]);
    }
    line["findings"] = names;
    line["stored"] =
        o.checked ? HeaderJson(o, o.report.tableHeader, o.report.memoHeader) : json(nullptr);
    line["calculated"] =
        o.checked ? HeaderJson(o, o.report.calcHeader, o.report.calcMemoHeader) : json(nullptr);
    if (!o.error.empty())
        line["error"] = TextForJson(o.error);
    if (repair) {
        json changes = json::array();
        for (const FieldChange& c : o.changes)
            changes.push_back({{"field", c.field}, {"old", c.before}, {"new", c.after}});
        line["changes"] = changes;
        line["backup"] = PathJson(o.backupPath);
    }
    return Dump(line);
}

std::string SummaryText(const Tally& t, bool repair, bool dryRun)
{
    std::string text = Count(t.tables, "table") + ", " + std::to_string(t.sound) + " sound, " +
                       std::to_string(t.withFindings) + " with findings, " +
                       std::to_string(t.failed) + " failed";
    if (repair)
        text += "; " + std::to_string(t.repaired) + (dryRun ? " to repair" : " repaired");
    return text;
}

std::string SummaryJson(const Tally& t, const char* command, int exitStatus)
{
    json line = {{"type", "summary"},
                 {"command", command},
                 {"tables", t.tables},
                 {"sound", t.sound},
                 {"with_findings", t.withFindings},
                 {"failed", t.failed},
                 {"repaired", t.repaired},
                 {"exit_status", exitStatus}};
    return Dump(line);
}

std::string UndoText(const UndoOutcome& o)
{
    if (!o.restored)
        return o.backupPath + ": refused: " + o.error;
    return o.backupPath + ": restored " + o.tablePath +
           (o.memoPath.empty() ? std::string() : " and " + o.memoPath);
}

}  // namespace mend
