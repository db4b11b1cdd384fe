#pragma once
// The maker's identity as the generated description files state it: the MIB module's
// organisation and contact lines and the EDE file's identification text.

namespace maker {

inline constexpr const char16_t* Organization = u"Varnok";
inline constexpr const char16_t* Street = u"Via dei Telai 12";
inline constexpr const char16_t* Postal_Town_Province = u"36100 Borgo Varnok (BV)";
inline constexpr const char16_t* Country = u"Italy";
inline constexpr const char16_t* Email = u"support@varnok.example";

// The EDE file's PROJECT_NAME and AUTHOR_OF_LAST_CHANGE lines.
inline constexpr const char16_t* EDE_Identification = u"Varnok BACnet Gateway";

} // namespace maker
