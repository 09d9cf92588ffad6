#pragma once
#include "platform/Errors.h"

// Errors of the MD5 engine. An EMD5HashError ends the hashing without a digest; the stream errors
// (a file that cannot be opened, mapped or read) reach the caller with their message.
class EMD5HashError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};

class EMD5HashFileSizeIsTooLargeToBeMapped : public EMD5HashError {
public:
    using EMD5HashError::EMD5HashError;
};

namespace md5 {

class EStreamError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

} // namespace md5

class EFSizeUnChangable : public md5::EStreamError {
public:
    using md5::EStreamError::EStreamError;
};
