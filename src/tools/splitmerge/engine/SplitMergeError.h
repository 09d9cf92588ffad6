#pragma once
#include "platform/Errors.h"

namespace splitmerge {

// Raised by the split, merge and insertion engine; the message is the text of the error box.
class ESplitMergeError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};

} // namespace splitmerge
