#pragma once
// The two work directories under the Windows directory that hold the JPEG working copies.
#include <string>

namespace fernwick {

// "%s\qvpicsendtmp\" (scaled copies) and "%s\qvpicsendsnd\" (rotated copies), with the
// Windows directory for %s; both end with a backslash.
std::string ScaledCopiesDirectory();
std::string RotatedCopiesDirectory();

}  // namespace fernwick
