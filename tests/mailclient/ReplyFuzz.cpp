// Fuzzes line assembly and reply parsing with arbitrary server bytes in arbitrary chunks.
#include "ByteQueue.h"
#include "Exceptions.h"
#include "ReplyText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the chunk length, the rest is the byte stream.
    size_t chunk = data[0] % 17 + 1;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;
    ByteQueue queue;
    std::string joined;
    for (size_t at = 0; at < length; at += chunk) {
        size_t count = length - at < chunk ? length - at : chunk;
        queue.Append(bytes + at, count);
        while (queue.HasLineFeed()) {
            std::string line = queue.TakeLine();
            if (line.empty() || line.back() != '\n')
                __builtin_trap();
            joined += line;
            IsPositiveReply(line);
            StatMessageCount(line);
            NthField(line, ' ', static_cast<int>(data[0] % 5));
            try {
                LeadingReplyCode(line);
            } catch (const Exception&) {
            }
        }
    }
    joined.append(queue.Data(), queue.Size());
    if (joined != std::string(bytes, length))
        __builtin_trap();
    return 0;
}
