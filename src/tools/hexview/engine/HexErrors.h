#pragma once
#include "platform/Errors.h"

// Errors of the hex grid and its byte source: invalid settings, and working-file failures.
class EHexEditorError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};
