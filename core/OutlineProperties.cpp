#include "OutlineProperties.h"

#include "DateTexts.h"

#include <limits>

OutlineProperties::OutlineProperties()
    : Subject("None"), Description("None"), Created(CurrentDateText()), Modified("None"), SavedBy("None"),
      Path("Unsaved")
{
}

void ResetOutlineProperties(OutlineProperties& properties) { properties = OutlineProperties(); }

void CopyOutlineProperties(OutlineProperties& destination, const OutlineProperties& source)
{
    destination.Subject = source.Subject;
    destination.Description = source.Description;
    destination.Created = source.Created;
    destination.Modified = source.Modified;
    destination.SavedBy = source.SavedBy;
    destination.Path = source.Path;
    destination.Revisions = source.Revisions;
}

void StampOutlineProperties(OutlineProperties& properties, const KbfStamp& stamp)
{
    properties.Modified = stamp.DateText;
    properties.SavedBy = stamp.UserName;
    // A file read back from disk may carry any int32; wrapping would be
    // undefined, so the count stops at the top.
    if (properties.Revisions < std::numeric_limits<std::int32_t>::max()) {
        ++properties.Revisions;
    }
}
