#pragma once
// Blocking HTTP GET (libcurl behind it). One request per call, on the calling thread.
//
// - The protocol version, the Accept header and the user agent are the caller's.
// - Redirects are never followed: a 3xx answer is a failure like any other non-2xx status.
// - Cookies are neither sent nor kept; loopback addresses never go through a proxy.
// - Connect and total time-outs always apply (0 is not "no limit": it takes the default), so
//   a silent server cannot hold the caller for ever.
// - The body is capped (MaxBodyBytes); a longer answer is a failure.
// Nothing is thrown: the result says whether the request worked.
#include <cstddef>
#include <string>

#include "plat/String.h"

namespace plat {

struct THttpOptions {
    bool Http10 = true;           // HTTP/1.0, else HTTP/1.1
    String Accept;                // Accept header; empty = none
    String UserAgent;             // User-Agent header; empty = none
    unsigned ConnectTimeoutMs = 10000;
    unsigned TotalTimeoutMs = 30000;
    std::size_t MaxBodyBytes = 1 << 20;
};

struct THttpResult {
    bool Ok = false;       // transfer complete and status 200..299
    int Status = 0;        // HTTP status, 0 when no answer came
    bool TimedOut = false; // one of the time-outs ended the request
    std::string Body;      // body bytes as received (also for an error status)
    String Error;          // short English reason when not Ok
};

THttpResult HttpGet(const String& Url, const THttpOptions& Options);

} // namespace plat
