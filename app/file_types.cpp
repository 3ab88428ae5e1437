#include "app/file_types.h"

#include "framework/exceptions.h"

namespace FileTypes {

fw::Ref<fw::FileType> pText;

void _Initialize() {
    pText = fw::New<fw::FileType>();
    fw::FileType& text = *pText;
    text.SetName("text");
    text.SetExtensions(".txt");
    text.SetMacType("TEXT");
    text.SetMacCreator("????");
    // The conversion to text registers the type; the name itself is not needed.
    static_cast<void>(text.Register());
}

void Release() {
    pText = nullptr;
}

} // namespace FileTypes
