// How a property page moves one property between the edited objects (through
// IDispatch) and one dialog control, and the tests a typed value must pass.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace septena_pages {

enum class FieldKind {
    Integer,    // edit box, decimal text of a 16-bit property
    ListIndex,  // combo box, the selected item's index
    Check,      // check box, a BOOL property
    Text,       // edit box, a BSTR property
};

struct PageField {
    int controlId;
    const wchar_t* property;  // automation name, for messages
    DISPID dispid;
    FieldKind kind;
    bool ranged = false;  // Integer only: the value must lie in low..high
    int low = 0;
    int high = 0;
};

// A value as shown in or read from a dialog control. `known` is false when the
// objects disagree or cannot be read; the control is then left blank.
struct FieldValue {
    bool known = false;
    long number = 0;
    std::wstring text;
};

// Reads the property from every object; known only when all answer the same.
FieldValue ReadFromObjects(const std::vector<IDispatch*>& objects, const PageField& field);

// Writes `value` to the property of every object; the first failure is returned.
HRESULT WriteToObjects(const std::vector<IDispatch*>& objects, const PageField& field,
                       const FieldValue& value);

// Shows a value in the field's dialog control.
void ShowInDialog(HWND dialog, const PageField& field, const FieldValue& value);

// Reads the field's dialog control and runs its tests. On failure returns false with
// the message to show; `value.known` false means the control holds no choice (a list
// without a selected item), which is not an error.
bool ReadFromDialog(HWND dialog, const PageField& field, FieldValue& value, std::wstring& message);

// Parses a whole decimal integer that fits a 16-bit property, blanks around it allowed.
bool ParseShort(const std::wstring& text, long& value);

}  // namespace septena_pages
