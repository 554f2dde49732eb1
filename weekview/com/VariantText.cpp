// Conversions between BSTR and the week view's ANSI text.
#include "VariantText.h"

#include <vector>

namespace septena {

BSTR ToBstr(const std::string& text)
{
    if (text.empty())
        return SysAllocStringLen(L"", 0);
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (result != nullptr)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, n);
    return result;
}

std::string FromBstr(BSTR text)
{
    const int length = static_cast<int>(SysStringLen(text));
    if (length == 0)
        return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], n, nullptr, nullptr);
    return result;
}

}  // namespace septena
