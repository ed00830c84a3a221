#pragma once
// The requests of the desktop program: /upload/auth.aspx, /upload/toolupload.aspx and
// /upload/versioncheck.aspx.
#include <httplib.h>

#include "server_context.h"

namespace refserver {

void AddServiceRoutes(httplib::Server& server, ServerContext& context);

}  // namespace refserver
