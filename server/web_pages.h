#pragma once
// The photo site's pages, in GBK: the home page of the signed-in user, the batch page, the
// photos themselves, registration, and the feed and bookmark pages of the browser menu.
//
// The home page shows the account named by ?user=NAME (GBK bytes, percent-escaped), else the
// account that most recently signed in with its password: the desktop program opens
// "/home.aspx" without naming anybody, and on one machine that is the user of the program.
#include <httplib.h>

#include "server_context.h"

namespace refserver {

void AddWebPages(httplib::Server& server, ServerContext& context);

}  // namespace refserver
