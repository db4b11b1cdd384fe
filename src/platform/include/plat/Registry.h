#pragma once
// The key store that stands in for the system registry: keys below the current user's root,
// each holding named values that are either 32-bit integers or texts and keep that type.
// Key paths use "\" (or "/") between their parts and compare without regard to case.
//
// The whole store is one UTF-8 text file, RegistryFileName(): $XDG_CONFIG_HOME, else
// ~/.config, then "Configurator/registry". Every call reads the file whole and every change
// replaces it atomically, so two objects on the same store never disagree. A store file that
// cannot be written raises ERegistryException "Failed to set data for '<name>'"; reading a
// value of the other type raises ERegistryException "Invalid data type for '<name>'".
#include <cstdint>
#include <vector>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

class ERegistryException : public Exception { using Exception::Exception; };

enum TRegDataType { rdUnknown, rdString, rdInteger };

// Full path of the store file (the folder is created on the first write).
String RegistryFileName();

class TRegistry : public TObject {
public:
    TRegistry() = default;
    String ClassName() const override { return u"TRegistry"; }

    // Opens Key (relative to the root; a leading "\" is accepted). A missing key is created
    // when CanCreate, else the call answers false.
    bool OpenKey(StringView Key, bool CanCreate);
    bool OpenKeyReadOnly(StringView Key) { return OpenKey(Key, false); }
    void CloseKey() { current_.clear(); open_ = false; }
    const String& CurrentPath() const { return current_; }
    bool KeyExists(StringView Key) const;
    bool DeleteKey(StringView Key);  // with its subkeys

    bool ValueExists(StringView Name) const;
    TRegDataType GetDataType(StringView Name) const;
    bool DeleteValue(StringView Name);
    void GetValueNames(TStrings& Names) const;
    void GetKeyNames(TStrings& Names) const;  // direct subkeys

    int ReadInteger(StringView Name) const;  // raises when missing or a text
    void WriteInteger(StringView Name, int Value);
    String ReadString(StringView Name) const;  // raises when an integer; "" when missing
    void WriteString(StringView Name, const String& Value);

private:
    bool open_ = false;
    String current_;  // normalised: parts joined by "\", no leading or trailing "\"
};

} // namespace plat
