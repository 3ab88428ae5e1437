#include "app/canvas_background.h"

#include "framework/files.h"

namespace {
constexpr const char* kBackdropFile = "CanvasBackground.pict";
fw::Ref<fw::Picture> heldBackdrop;
} // namespace

fw::Ref<fw::Picture> CanvasBackground() {
    if (!heldBackdrop) {
        if (fw::Ref<fw::FolderItem> resources = fw::_GetApplicationBundleResources()) {
            heldBackdrop = resources->Child(kBackdropFile)->OpenAsPicture();
        }
    }
    return heldBackdrop;
}
