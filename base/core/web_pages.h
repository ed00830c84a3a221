#pragma once
// Addresses of the service's web pages. Every host is the build's web base, a fixed setting.
#include <string>

#include "build_config.h"

namespace fernwick {

inline std::string PhotoSiteHomePage() { return std::string(build::kWebBase) + "/home.aspx"; }

// The registration site sends the new user back to the blog site's page afterwards.
inline std::string RegistrationPage() {
  return std::string(build::kWebBase) + "/regname.aspx?fromhost=qv_photo&backurl=" + build::kWebBase +
         "/regname.aspx?type=3";
}

inline std::string FeedSubscriptionPage() { return std::string(build::kWebBase) + "/sub.htm"; }
inline std::string BookmarkPostingPage() { return std::string(build::kWebBase) + "/inc/PostPage.aspx"; }

}  // namespace fernwick
