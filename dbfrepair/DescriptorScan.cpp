// Head reads through a read-ahead buffer, and the descriptor scan over them.
#include "DescriptorScan.h"

#include <cstring>

#include "FileAccess.h"

namespace dbf {
namespace {

const uint8_t kFieldTerminator = 0x0D;
const uint32_t kDescriptorSize = 32;
const uint32_t kFieldLengthOffset = 16;

}  // namespace

uint32_t TableHeadReader::Read(uint8_t* out, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        if (pos_ == len_) {
            if (ended_)
                break;
            if (exact_ || !Refill()) {
                // Nothing buffered and no read-ahead: read just this piece, as a
                // reader without a buffer would.
                exact_ = true;
                uint32_t n = file_.ReadAt(next_, out + done, count - done);
                next_ += n;
                done += n;
                break;
            }
        }
        uint32_t take = count - done < len_ - pos_ ? count - done : len_ - pos_;
        std::memcpy(out + done, buffer_ + pos_, take);
        pos_ += take;
        done += take;
    }
    return done;
}

bool TableHeadReader::EndSeen(uint64_t* end) const
{
    if (!ended_)
        return false;
    *end = next_;
    return true;
}

bool TableHeadReader::Refill()
{
    len_ = file_.ReadAt(next_, buffer_, sizeof buffer_);
    pos_ = 0;
    next_ += len_;
    // A read that brings something but less than asked has met the end of the file;
    // one that brings nothing may have failed, and is retried piece by piece.
    ended_ = len_ > 0 && len_ < sizeof buffer_;
    return len_ > 0;
}

bool ScanDescriptors(TableHeadReader& in, bool visualFoxPro, DescriptorSums* sums)
{
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
