#pragma once
#include "platform/FileSystem.h"

namespace filelist {

struct AdmissionSettings {
    bool hhf = true;               // hide hidden entries
    bool hsf = true;               // hide system entries
    bool parentDirEnabled = true;  // admit ".."
};

// Whether a found entry becomes a row of a pass with the given attribute mask (directory bit set for
// the folder pass). Hidden/system hiding, folder versus file pass, read-only and archive filter, "." never.
bool admits(const plat::FindData& entry, quint32 passMask, const AdmissionSettings& s);

} // namespace filelist
