#pragma once
#include "platform/Errors.h"

// Failures of the compressor. `code` is the zlib status when zlib reported the failure, else 0.
class EZLibError : public EOrvoError {
public:
    explicit EZLibError(const QString& message, int code = 0) : EOrvoError(message), m_code(code) {}
    int code() const { return m_code; }
private:
    int m_code;
};

class EZCompressionError : public EZLibError {
public:
    using EZLibError::EZLibError;
};

class EZDecompressionError : public EZLibError {
public:
    using EZLibError::EZLibError;
};
