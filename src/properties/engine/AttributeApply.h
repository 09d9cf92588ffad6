#pragma once
// Applying the attribute window's settings to one item: only attributes that change are written, only
// requested times are written (box checked and text changed), every other time stays exactly as it was.
#include "platform/Errors.h"
#include "platform/posix/FileTime.h"
#include "properties/engine/ItemInfo.h"
#include <QString>
#include <optional>

namespace properties {

// A time text that does not read back as a date and time, or a requested time the packed form cannot
// hold: the run ends with this error.
class EAttributeError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};

// The window's settings: the four attribute boxes, the three time texts and their boxes.
struct AttributeSettings {
    bool readOnly = false;
    bool archive = false;
    bool system = false;
    bool hidden = false;
    QString creationText, writeText, accessText;
    bool creationChecked = true, writeChecked = true, accessChecked = true;

    // The settings that leave `item` as it is: its attributes and its times as shown.
    static AttributeSettings of(const ItemInfo& item);
};

struct ApplyResult {
    bool changed = false;           // attributes written or a time change attempted (the lists re-list)
    int attributeError = 0;         // errno of a refused attribute change (not reported by the window)
    bool accessRequested = false;
    bool writeRequested = false;
    bool timesWritten = false;
    int timeError = 0;              // errno of a failed time change (the window's message)
};

// Checks that every time text reads back as "yyyy-MM-dd HH:mm:ss"; throws EAttributeError otherwise.
void checkTimeTexts(const AttributeSettings& s);

// Applies `s` to `item`. Attributes: read-only and hidden are written when they differ (archive and system
// cannot be set on Linux). Times: a time is requested when its box is checked and its text differs from
// the item's own time as shown; requested times go through the packed form (two-second grid) and are
// written through openForWrite, the others are left untouched. Nothing is written to a folder's times, but
// the attempt counts as a change. The creation time is never requested. A file that is to become read-only
// gets its times before the attribute, one that is to become writable after it. Throws EAttributeError for an
// unreadable text or a requested time outside the packed range, before anything is written to the item.
ApplyResult applySettings(const ItemInfo& item, const AttributeSettings& s);

// The message of a failed time change.
QString timeChangeFailedText();

} // namespace properties
