#include "framework/events.h"

#include "framework/exceptions.h"

namespace fw::detail {

// A handler that names a control kind was raised by a control of another
// kind: the binding put it on the wrong control.
void ThrowSenderMismatch() {
    throw RuntimeException("the event was raised by a control of another kind than its handler "
                           "expects");
}

} // namespace fw::detail
