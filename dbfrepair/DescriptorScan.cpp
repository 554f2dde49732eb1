// Descriptor scan over a read-ahead buffer: the area is read in large pieces, but the
// outcome is the one of reading one byte and then 31 bytes per descriptor.
#include "DescriptorScan.h"

#include <cstring>

#include "FileAccess.h"

namespace dbf {
namespace {

const uint8_t kFieldTerminator = 0x0D;
const uint32_t kDescriptorSize = 32;
const uint32_t kFieldLengthOffset = 16;
const uint64_t kDescriptorAreaOffset = 32;

// Sequential reads through a fixed read-ahead buffer.
class ReadAhead {
public:
    ReadAhead(TableFile& file, uint64_t start) : file_(file), next_(start) {}

    // Copies up to count bytes; answers how many arrived.
    uint32_t Read(uint8_t* out, uint32_t count)
    {
        uint32_t done = 0;
        while (done < count) {
            if (pos_ == len_ && !Refill())
                break;
            uint32_t take = count - done < len_ - pos_ ? count - done : len_ - pos_;
            std::memcpy(out + done, buffer_ + pos_, take);
            pos_ += take;
            done += take;
        }
        return done;
    }

private:
    bool Refill()
    {
        len_ = file_.ReadAt(next_, buffer_, sizeof buffer_);
        pos_ = 0;
        next_ += len_;
        return len_ > 0;
    }

    TableFile& file_;
    uint64_t next_;
    uint8_t buffer_[4096];
    uint32_t pos_ = 0;
    uint32_t len_ = 0;
};

}  // namespace

bool ScanDescriptors(TableFile& table, bool visualFoxPro, DescriptorSums* sums)
{
    ReadAhead in(table, kDescriptorAreaOffset);
    sums->headerLength = 32;
    sums->fieldLengthSum = 0;
    uint8_t descriptor[kDescriptorSize];
    for (;;) {
        if (in.Read(descriptor, 1) != 1)
            return false;
        if (descriptor[0] == kFieldTerminator)
            break;
        if (in.Read(descriptor + 1, kDescriptorSize - 1) != kDescriptorSize - 1)
            return false;
        sums->fieldLengthSum += descriptor[kFieldLengthOffset];
        sums->headerLength = static_cast<uint16_t>(sums->headerLength + kDescriptorSize);
    }
    // The byte after the terminator: a FoxPro 2.x table counts it only when it is the
    // optional 0x00; otherwise it is the first record's deletion flag.
    uint8_t after = 0;
    if (in.Read(&after, 1) == 1 && (after == 0x00 || visualFoxPro))
        sums->headerLength = static_cast<uint16_t>(sums->headerLength + 1);
    return true;
}

}  // namespace dbf
