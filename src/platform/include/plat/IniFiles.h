#pragma once
// INI files as the framework reads and writes them: every call reads the whole file and every
// write replaces it (atomically), so two objects on the same file never disagree.
// Section and key names compare case-insensitively; values are trimmed and lose one pair of
// surrounding quotes on reading. Comments and unknown lines are kept. A file that cannot be
// written raises EIniFileException "Unable to write to <file>".
#include <memory>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

class EIniFileException : public Exception { using Exception::Exception; };

class TIniFile : public TObject {
public:
    explicit TIniFile(String FileName) : fileName_(std::move(FileName)) {}
    String ClassName() const override { return u"TIniFile"; }
    const String& FileName() const { return fileName_; }

    String ReadString(StringView Section, StringView Ident, const String& Default) const;
    void WriteString(StringView Section, StringView Ident, const String& Value);
    int ReadInteger(StringView Section, StringView Ident, int Default) const;  // StrToInt rules
    void WriteInteger(StringView Section, StringView Ident, int Value);
    bool ReadBool(StringView Section, StringView Ident, bool Default) const;  // "0" is false
    void WriteBool(StringView Section, StringView Ident, bool Value);

    bool SectionExists(StringView Section) const;
    bool ValueExists(StringView Section, StringView Ident) const;
    void ReadSection(StringView Section, TStrings& Idents) const;
    void ReadSections(TStrings& Sections) const;
    void ReadSectionValues(StringView Section, TStrings& Values) const;  // "Ident=Value" lines
    void DeleteKey(StringView Section, StringView Ident);
    void EraseSection(StringView Section);

private:
    String fileName_;
};

// The same file read once when constructed and held in memory: reads and writes work on that
// copy, and UpdateFile replaces the file with it whole (atomically), in the encoding it was
// read in. For operations that read or write many values as one change. A file that exists but
// cannot be read (not a regular file, beyond the size cap) reads as empty and is never
// replaced: UpdateFile raises then.
class TMemIniFile : public TObject {
public:
    explicit TMemIniFile(String FileName);
    ~TMemIniFile() override;
    String ClassName() const override { return u"TMemIniFile"; }
    const String& FileName() const { return fileName_; }

    String ReadString(StringView Section, StringView Ident, const String& Default) const;
    void WriteString(StringView Section, StringView Ident, const String& Value);
    int ReadInteger(StringView Section, StringView Ident, int Default) const;  // StrToInt rules
    void WriteInteger(StringView Section, StringView Ident, int Value);
    bool ValueExists(StringView Section, StringView Ident) const;
    void UpdateFile();  // EIniFileException "Unable to write to <file>"

private:
    struct Impl;
    String fileName_;
    std::unique_ptr<Impl> impl_;
};

} // namespace plat
