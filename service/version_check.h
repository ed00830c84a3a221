#pragma once
// The version check: which program version is the newest, where to get it, and whether the
// upgrade is obligatory.
#include <string>

#include "service/core/result_codes.h"

namespace fernwick {

inline constexpr char kProgramVersion[] = "1.0";

struct VersionInfo {
  std::string versionId;   // "versionID"
  std::string versionUrl;  // "versionURL"
  std::string isUpgrade;   // "isupgrade": "1" obligatory, anything else optional
};

// GET /upload/versioncheck.aspx on a client of its own; 0 or -2. Outputs untouched on -2.
int CheckVersion(VersionInfo& info);

}  // namespace fernwick
