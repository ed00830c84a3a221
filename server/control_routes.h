#pragma once
// The control endpoint for tests, under /control/ (the server listens on loopback only, and
// these routes also refuse any peer that is not a loopback address):
//   /control/fault?kind=K&path=P&value=V&text=T&count=N  arm a fault (kinds: status delay
//        drop reset truncate garble oversize lead zerok capitals body trickle, see fault_plan.h;
//        path "*" for every path; count -1 until cleared, default 1)
//   /control/clear            disarm every fault, end a delay or stall under way, and forget
//                             the captured requests
//   /control/captured?back=N  the raw bytes of the N-th latest request (0 = latest)
//   /control/count            how many requests were captured since the last clear
//   /control/retire?user=U    retire every token of the account (they then answer "0k")
//   /control/account?user=U   "quota=Q used=U photos=N" of the account
//   /control/photos?user=U    the account's photos, oldest first, one line each:
//        id TAB status TAB size TAB title TAB tags
//   /control/setting?key=K&value=V  change a server setting (version_id, ...)
//   /control/put-account?user=U&password=P&quota=Q&blog=B  make or change an account
//   /control/pause?ms=N       stop listening for N ms (nothing is listening: connections are
//        refused), then listen on the same port again, as a stop and a start would
#include <httplib.h>

#include "server_context.h"

namespace refserver {

void AddControlRoutes(httplib::Server& server, ServerContext& context);

}  // namespace refserver
