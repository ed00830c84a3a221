#pragma once
// Result codes of every request to the upload server; callers test these exact values.
namespace fernwick {

inline constexpr int kResultOk = 0;          // exchange done, reply said "ok" (upload: request sent)
inline constexpr int kResultRefused = -1;    // status 200 but the reply's status was not "ok"
inline constexpr int kResultNoExchange = -2; // no connection, request not made or sent, or HTTP status not 200
inline constexpr int kResultTokenZeroK = 1;  // the token request answered "0k"

}  // namespace fernwick
