#pragma once
#include "platform/Errors.h"
#include "platform/posix/SysError.h"

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

// The stream errors keep the failed call; their texts are worded here, from the file it was about.
class EStreamError : public plat::posix::ESysError {
public:
    explicit EStreamError(const QString& message) : ESysError(plat::posix::SysError{}, message) {}
    EStreamError(const plat::posix::SysError& e, const QString& message) : ESysError(e, message) {}
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
    // "Error opening <file>"
    explicit EFOpenError(const plat::posix::SysError& e)
        : EStreamError(e, QStringLiteral("Error opening %1").arg(e.path)) {}
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
    // "Error reading <file>"
    explicit EReadError(const plat::posix::SysError& e)
        : EStreamError(e, QStringLiteral("Error reading %1").arg(e.path)) {}
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
