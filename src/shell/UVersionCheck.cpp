#include "UVersionCheck.h"

#include <exception>
#include <string>
#include <utility>

#include "UComon.h"
#include "plat/HttpClient.h"
#include "plat/SysUtils.h"

using namespace plat;

const char16_t* const SW_Version = u"1.114";
const char16_t* const Download_Page_URL = u"https://www.varnok.com/Home/download/download.asp#VX40518";

namespace {

const char16_t* const Default_Service_Host = u"https://www.varnok.com";
const char16_t* const Version_Service_Path = u"/home/download/GetversionSW.asp";

// The request as the program has always sent it: HTTP/1.0, these two headers. The
// time-outs keep an unreachable or silent service from freezing the program.
THttpOptions Version_Http_Options()
{
    THttpOptions o;
    o.Http10 = true;
    o.Accept = u"text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    o.UserAgent = u"Mozilla/3.0 (compatible; Configurator)";
    o.ConnectTimeoutMs = 10000;
    o.TotalTimeoutMs = 30000;
    o.MaxBodyBytes = 64 * 1024;
    return o;
}

bool Http_Request(const String& url, String& answer)
{
    const THttpResult r = HttpGet(url, Version_Http_Options());
    if (!r.Ok) return false;
    answer = IsValidUtf8(r.Body) ? Utf8ToString(r.Body) : AnsiToString(r.Body);
    return true;
}

TVersion_Request& Request()
{
    static TVersion_Request request;
    return request;
}

String& Service_Host()
{
    static String host = Default_Service_Host;
    return host;
}

} // namespace

String Version_Request_URL()
{
    return Service_Host() + Version_Service_Path + u"?nomesw=" + SW_Code_Update_Const;
}

int Conv_Version(StringView Ver_str)
{
    const std::size_t blank = Ver_str.find(u' ');
    const String s = Trim(blank == StringView::npos ? Ver_str : Ver_str.substr(blank + 1));
    if (s.size() < 5) return -1;
    const String digits{s[0], s[2], s[3], s[4]};
    for (char16_t c : digits)
        if (c < u'0' || c > u'9') return -1;
    return StrToIntDef(digits, -1);
}

bool Is_Newer_Version(StringView answer, StringView built)
{
    const String a = UpperCase(Trim(answer));
    if (a.empty() || a == u"VER. 0.000") return false;
    const int builtVersion = Conv_Version(built);
    const int published = Conv_Version(Trim(answer));
    return builtVersion != -1 && published != -1 && published > builtVersion;
}

bool Check_Version()
{
    String answer;
    try {
        const TVersion_Request& request = Request();
        const bool answered = request ? request(Version_Request_URL(), answer) : Http_Request(Version_Request_URL(), answer);
        if (!answered) answer.clear();
    } catch (const std::exception&) {
        answer.clear();
    }
    return Is_Newer_Version(answer, SW_Version);
}

void Set_Version_Request(TVersion_Request request)
{
    Request() = std::move(request);
}

void Set_Version_Service_Host(const String& host)
{
    Service_Host() = host.empty() ? String(Default_Service_Host) : host;
}
