#include "plat/HttpClient.h"

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <mutex>

namespace plat {

namespace {

constexpr unsigned Default_Connect_Timeout_Ms = 10000;
constexpr unsigned Default_Total_Timeout_Ms = 30000;

void Global_Init()
{
    // curl_global_init is not thread-safe; the first request of any thread does it once.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TSink {
    std::string* body;
    std::size_t limit;
    bool overflow = false;
};

std::size_t Write_Body(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* sink = static_cast<TSink*>(user);
    const std::size_t n = size * count;
    if (sink->body->size() + n > sink->limit) {
        sink->overflow = true;
        return 0;  // makes curl stop with a write error
    }
    sink->body->append(data, n);
    return n;
}

struct TCurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct TSlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

String Text(const char* s)
{
    return Utf8ToString(s ? s : "");
}

} // namespace

THttpResult HttpGet(const String& Url, const THttpOptions& Options)
{
    THttpResult r;
    Global_Init();
    std::unique_ptr<CURL, TCurlDeleter> curl(curl_easy_init());
    if (!curl) {
        r.Error = u"HTTP client could not be created";
        return r;
    }
    CURL* c = curl.get();
    const std::string url = StringToUtf8(Url);
    const std::string agent = StringToUtf8(Options.UserAgent);
    std::unique_ptr<curl_slist, TSlistDeleter> headers;
    if (!Options.Accept.empty()) {
        const std::string accept = "Accept: " + StringToUtf8(Options.Accept);
        headers.reset(curl_slist_append(nullptr, accept.c_str()));
    }
    TSink sink{&r.Body, Options.MaxBodyBytes};
    char error[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION,
                     static_cast<long>(Options.Http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    if (!agent.empty()) curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str());
    if (headers) curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    // No cookie engine: neither CURLOPT_COOKIEFILE nor CURLOPT_COOKIEJAR is set.
    // Setting the option replaces the environment's list, so that list is kept in it.
    std::string noProxy = "127.0.0.1,localhost,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        if (const char* env = std::getenv(name); env && *env) {
            noProxy += ',';
            noProxy += env;
            break;
        }
    }
    curl_easy_setopt(c, CURLOPT_NOPROXY, noProxy.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM, safe off the main thread
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(Options.ConnectTimeoutMs ? Options.ConnectTimeoutMs : Default_Connect_Timeout_Ms));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(Options.TotalTimeoutMs ? Options.TotalTimeoutMs : Default_Total_Timeout_Ms));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Write_Body);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);

    const CURLcode code = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    r.Status = static_cast<int>(status);
    if (code != CURLE_OK) {
        r.TimedOut = code == CURLE_OPERATION_TIMEDOUT;
        if (sink.overflow) r.Error = u"answer too long";
        else r.Error = Text(error[0] ? error : curl_easy_strerror(code));
        return r;
    }
    if (status < 200 || status > 299) {
        r.Error = u"HTTP status " + Utf8ToString(std::to_string(status));
        return r;
    }
    r.Ok = true;
    return r;
}

} // namespace plat
