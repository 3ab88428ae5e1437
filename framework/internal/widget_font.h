#pragma once

// Framework-internal: the fonts of controls. Never included outside framework/.

#include <QFont>

#include <string>

namespace fw::internal {

// The pixel size of a control whose design leaves the size at 0.
inline constexpr int kDefaultTextSize = 12; // pixels
// The largest size a design gets; larger sizes are taken as this.
inline constexpr int kLargestTextSize = 400; // pixels

// The font a design asks for: the family ("System" is the application's
// default family), a pixel size (0 for the default size) and the styles.
QFont DesignFont(const std::string& family, int pixelSize, bool bold, bool italic, bool underline);

} // namespace fw::internal
