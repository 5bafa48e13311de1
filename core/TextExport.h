#pragma once
// The outline, or the selected page with its branch, as lines of text by an
// export profile's settings: what printing and saving a copy as text or RTF
// put out.

#include "OutlineExport.h"
#include "StringList.h"

// The lines, one item each; the properties block, when asked for, is one
// item holding its own line breaks.
TStringList ExportOutlineText(const OutlineToExport& outline, const ExportProfile& profile);
