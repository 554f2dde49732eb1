// Help text, header report and version line, formatted as the host shows them.
#include "ReportText.h"

#include <cstdio>

#include "ByteOrder.h"
#include "TableHeader.h"

namespace dbf {
namespace {

// Lines are formatted printf-style into a buffer of the host's line width.
const size_t kLineBufferSize = 80;

const char* YesNo(uint8_t flags, uint8_t bit)
{
    return (flags & bit) ? "Yes" : "No";
}

template <typename... Args>
std::string Format(const char* format, Args... args)
{
    char line[kLineBufferSize];
    std::snprintf(line, sizeof line, format, args...);
    return line;
}

}  // namespace

const std::vector<std::string>& HelpText()
{
    static const std::vector<std::string> lines = {
        "\nSyntax : MENDDBF( <Filename>, [<Mode>], [<FPT Blocksize>] )\n\n",
        "Return BIT values of positive return values :- \n\n",
        "Value Bit Description\n",
        "  1    1  DBF header length incorrect\n",
        "  2    2  Record length incorrect\n",
        "  4    3  Record count incorrect\n",
        "  8    4  DBF file ID incorrect\n",
        " 16    5  DBF Flags incorrect\n",
        " 32    6  FPT next available block incorrect\n",
        " 64    7  FPT block size non-standard\n\n",
        "Negative values designate error codes :-\n\n",
        " -1 File open failed, file doesn't exist or is opened exclusive by another.\n",
        " -2 Read failed.\n",
        " -3 Unable to lock, 5 attempts were made to lock without success.\n",
        " -4 Field descriptors badly corrupted or file too short.\n",
        " -5 Write failed, file marked readonly.\n",
        " -6 Passed path\\filename too long.\n\n",
    };
    return lines;
}

std::vector<std::string> ReportLines(const HeaderReport& r)
{
    const uint8_t* s = r.tableHeader;
    const uint8_t* c = r.calcHeader;
    std::vector<std::string> lines;
    lines.push_back("Header Data\t    Header\tCalculated\n");
    lines.push_back(std::string(57, '-') + "\n");
    lines.push_back(
        Format("DBF ID Byte\t%10u\t%10u\n", unsigned{s[kTypeOffset]}, unsigned{c[kTypeOffset]}));
    lines.push_back(Format("Header Length\t%10u\t%10u\n",
                           unsigned{ReadLe16(s + kHeaderLengthOffset)},
                           unsigned{ReadLe16(c + kHeaderLengthOffset)}));
    lines.push_back(Format("Record Count\t%10lu\t%10lu\n",
                           static_cast<unsigned long>(ReadLe32(s + kRecordCountOffset)),
                           static_cast<unsigned long>(ReadLe32(c + kRecordCountOffset))));
    lines.push_back(Format("Record Length\t%10u\t%10u\n",
                           unsigned{ReadLe16(s + kRecordLengthOffset)},
                           unsigned{ReadLe16(c + kRecordLengthOffset)}));
    if (c[kTypeOffset] == kTypeFoxProMemo || (c[kFlagsOffset] & kFlagMemo)) {
        lines.push_back(Format("FPT NextBlock\t%10lu\t%10lu\n",
                               static_cast<unsigned long>(ReadLe32(r.memoHeader)),
                               static_cast<unsigned long>(ReadLe32(r.calcMemoHeader))));
        lines.push_back(Format("FPT BlockSize\t%10u\t%10u\n",
                               unsigned{ReadLe16(r.memoHeader + kBlockSizeOffset)},
                               unsigned{ReadLe16(r.calcMemoHeader + kBlockSizeOffset)}));
    }
    lines.push_back(Format("DBF Container\t%10s\t%10s\n", YesNo(s[kFlagsOffset], kFlagContainer),
                           YesNo(c[kFlagsOffset], kFlagContainer)));
    lines.push_back(Format("Has CDX file\t%10s\t%10s\n", YesNo(s[kFlagsOffset], kFlagIndex),
                           YesNo(c[kFlagsOffset], kFlagIndex)));
    lines.push_back(Format("Has FPT file\t%10s\t%10s\n", YesNo(s[kFlagsOffset], kFlagMemo),
                           YesNo(c[kFlagsOffset], kFlagMemo)));
    lines.push_back(Format("DBF Length is %lu Bytes.\n", static_cast<unsigned long>(r.tableSize)));
    return lines;
}

std::string VersionLine(bool withBuildStamp)
{
    const char* format =
        withBuildStamp ? "%s v%s - %s v%s  Dec  4 1996 12:57:47" : "%s v%s - %s v%s";
    return Format(format, "Dbmend", "4", "Visual FoxPro 5.0 FLL", "4.10");
}

}  // namespace dbf
