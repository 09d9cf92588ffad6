#include "filelist/engine/Admission.h"

namespace filelist {

bool admits(const plat::FindData& e, quint32 passMask, const AdmissionSettings& s)
{
    const quint32 a = e.attributes;
    if ((a & plat::kAttrHidden) && s.hhf)
        return false;
    if ((a & plat::kAttrSystem) && s.hsf)
        return false;
    if ((a & plat::kAttrDirectory) != (passMask & plat::kAttrDirectory))
        return false;
    if ((a & plat::kAttrReadOnly) && !(passMask & plat::kAttrReadOnly))
        return false;
    if ((a & plat::kAttrArchive) && !(passMask & plat::kAttrArchive))
        return false;
    if (e.name == QLatin1String("."))
        return false;
    if (e.name == QLatin1String(".."))
        return s.parentDirEnabled;
    return true;
}

} // namespace filelist
