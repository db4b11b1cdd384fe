#pragma once
// The version check: asks the maker's version service whether a version newer than the
// built-in one is published. The service answers "VER. <version>"; "VER. 0.000" means
// nothing is published. Every failure (no connection, an error status, a time-out, an
// answer that is no version) counts as "no newer version" and is not reported.
//
// The request blocks the calling (user-interface) thread, at most for the HTTP client's
// connect and total time-outs.
#include <functional>

#include "plat/String.h"

// Version text of this build, as the about box shows it.
extern const char16_t* const SW_Version;
// The maker's download page for this product (target of the update links).
extern const char16_t* const Download_Page_URL;
// The full request: the service's path with the query key nomesw = SW_Code_Update_Const.
plat::String Version_Request_URL();

// "1.114" -> 1114, "VER. 1.115" -> 1115: the text after the first blank (or the whole text),
// trimmed; its characters 1, 3, 4 and 5 (the second, normally the decimal point, skipped)
// read as a decimal number. -1 when fewer than five characters remain or they are no number.
int Conv_Version(plat::StringView Ver_str);

// True when the answer of the service names a version newer than `built`: an empty answer or
// "VER. 0.000" (any letter case, blanks around) is not; otherwise both versions must convert.
bool Is_Newer_Version(plat::StringView answer, plat::StringView built);

// Sends the request and judges the answer against SW_Version.
bool Check_Version();

// How the request is sent: gets the URL, returns whether an answer came and puts its body
// into `answer`. Tests put in a fake; an empty function restores the HTTP client.
using TVersion_Request = std::function<bool(const plat::String& url, plat::String& answer)>;
void Set_Version_Request(TVersion_Request request);
// Scheme, host and port of the version service ("https://www.varnok.com"); tests point it at
// a local server. An empty text restores the maker's.
void Set_Version_Service_Host(const plat::String& host);
